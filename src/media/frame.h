// The standard frame every scene follows: begin, clear to blue, standard camera ... end, present.
#pragma once

#include "platform/graphics.h"

constexpr platform::Color kClearColor = 0xFF0000FF; // opaque blue

// Eye (0, 0, -20) looking at the origin, up +y.
platform::Matrix StandardView();
// Vertical field of view pi/3, aspect 880/480, near 1, far 1000.
platform::Matrix StandardProjection();

// The render state and light the game sets once at start-up: depth test and write, alpha
// blending, texture x diffuse colour and alpha, no culling, linear filtering, lighting with
// one white directional light along (10, -10, 10), the quad vertex format.
void SetFixedRenderState(platform::GraphicsDevice& device);

// Begins the scene, clears target and depth to opaque blue / 1.0 and sets the standard camera.
void BeginStandardFrame(platform::GraphicsDevice& device);
// Ends the scene and presents it; a failed present resets the device with `params`.
void EndStandardFrame(platform::GraphicsDevice& device, const platform::PresentParameters& params);
