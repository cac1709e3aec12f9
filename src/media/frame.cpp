// The standard frame.
#include "media/frame.h"

using namespace platform;

Matrix StandardView() {
    Vector3 eye{0.0f, 0.0f, -20.0f}, at{0.0f, 0.0f, 0.0f}, up{0.0f, 1.0f, 0.0f};
    Matrix m;
    return *MatrixLookAtLH(&m, &eye, &at, &up);
}

Matrix StandardProjection() {
    Matrix m;
    return *MatrixPerspectiveFovLH(&m, 1.0471976f, 1.8333334f, 1.0f, 1000.0f);
}

void BeginStandardFrame(GraphicsDevice& device) {
    device.BeginScene();
    device.Clear(0, nullptr, CLEAR_TARGET | CLEAR_ZBUFFER, kClearColor, 1.0f, 0);
    device.SetTransform(TS_VIEW, StandardView());
    device.SetTransform(TS_PROJECTION, StandardProjection());
}

void EndStandardFrame(GraphicsDevice& device, const PresentParameters& params) {
    device.EndScene();
    if (Failed(device.Present())) device.Reset(params);
}
