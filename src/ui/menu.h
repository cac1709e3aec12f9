// Marker menus: two markers bracket the chosen item and move by a fixed step per item.
#pragma once

#include <cstdint>

#include "media/model.h"
#include "platform/graphics.h"
#include "platform/types.h"

// The markers' move from an item to the next one down; a move up subtracts it.
struct MarkerStep {
    float leftX, leftY, rightX, rightY;
};

// A menu of `count` + 1 items numbered from `first`; steps[i] leads from item first + i down to
// first + i + 1. Up and Down (Up taken first, Down queried only when Up is not held) act when
// the wait is at least `actAt`; a move sets the wait to `resetTo`. A held key refused at the
// end of the list sets the wait to `resetTo` too when `refusalResets`, else the wait counts on.
// Without a move the wait grows by one.
struct MarkerMenu {
    const MarkerStep* steps;
    int32_t count;
    int32_t first;
    int32_t actAt;
    int32_t resetTo;
    bool refusalResets;
    int upKey, downKey;
};

// One frame of a menu: true when the item changed (and the markers with it).
bool StepMarkerMenu(const MarkerMenu& menu, int32_t& item, int32_t& wait, platform::Vector3& left,
                    platform::Vector3& right);

// A marker menu's screen in the scene: the picture filling the view (a backdrop at depth 0),
// then the marker model, lit, at each marker, turned about its own vertical axis by `spin`
// degrees (the right one the other way); lighting off and the clip plane on after.
void DrawMarkerScreen(platform::GraphicsDevice& device, platform::Texture* screen,
                      const ModelRecord& marker, int32_t spin, const platform::Vector3& left,
                      const platform::Vector3& right, float alpha);
