// The standard frame.
#include "media/frame.h"

#include "media/draw.h"

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

void SetFixedRenderState(GraphicsDevice& device) {
    device.SetRenderState(RS_ZENABLE, 1);
    device.SetRenderState(RS_ZWRITEENABLE, 1);
    device.SetRenderState(RS_ALPHABLENDENABLE, 1);
    device.SetRenderState(RS_SRCBLEND, BLEND_SRCALPHA);
    device.SetRenderState(RS_DESTBLEND, BLEND_INVSRCALPHA);
    device.SetTextureStageState(0, TSS_ALPHAOP, TOP_MODULATE);
    device.SetTextureStageState(0, TSS_ALPHAARG1, TA_TEXTURE);
    device.SetTextureStageState(0, TSS_ALPHAARG2, TA_DIFFUSE);
    device.SetTextureStageState(0, TSS_COLOROP, TOP_MODULATE);
    device.SetRenderState(RS_CULLMODE, CULL_NONE);
    device.SetSamplerState(0, SAMP_MIPFILTER, TEXF_LINEAR);
    device.SetSamplerState(0, SAMP_MINFILTER, TEXF_LINEAR);
    device.SetSamplerState(0, SAMP_MAGFILTER, TEXF_LINEAR);
    device.SetRenderState(RS_LIGHTING, 1);

    Light light;
    light.Type = LIGHT_DIRECTIONAL;
    light.Diffuse = {1.0f, 1.0f, 1.0f, 0.0f};
    light.Direction = {10.0f, -10.0f, 10.0f};
    device.SetLight(0, light);
    device.LightEnable(0, true);
    device.SetFVF(kQuadFvf);
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
