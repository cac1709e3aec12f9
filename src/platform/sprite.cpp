// The sprite object.
#include <algorithm>

#include "platform/d3dmath.h"
#include "platform/graphics.h"

namespace platform {

HRESULT Sprite::Begin(uint32_t) {
    if (begun_) return E_FAIL;
    begun_ = true;
    return S_OK;
}

HRESULT Sprite::SetTransform(const Matrix& transform) {
    transform_ = transform;
    return S_OK;
}

HRESULT Sprite::Draw(Texture* texture, const Rect* src, const Vector3* center,
                     const Vector3* position, Color color) {
    if (!begun_) return E_FAIL;
    Rect r = src ? *src : Rect{};
    if (texture) {
        r = src ? ClampRect(*src, texture->width, texture->height)
                : Rect{0, 0, texture->width, texture->height};
        if (r.right <= r.left || r.bottom <= r.top) return S_OK;
    }
    Matrix m = transform_;
    float dx = (position ? position->x : 0.0f) - (center ? center->x : 0.0f);
    float dy = (position ? position->y : 0.0f) - (center ? center->y : 0.0f);
    if (dx != 0.0f || dy != 0.0f) m = Translation(dx, dy, 0.0f) * m;
    return device_.DrawSprite(texture, r, m, color);
}

HRESULT Sprite::End() {
    if (!begun_) return E_FAIL;
    begun_ = false;
    return S_OK;
}

HRESULT CreateSprite(GraphicsDevice& device, SpritePtr& out) {
    out = std::make_unique<Sprite>(device);
    return S_OK;
}

Rect ClampRect(const Rect& src, int width, int height) {
    Rect r;
    r.left = std::clamp(src.left, 0, width);
    r.right = std::clamp(src.right, 0, width);
    r.top = std::clamp(src.top, 0, height);
    r.bottom = std::clamp(src.bottom, 0, height);
    if (r.right < r.left) r.right = r.left;
    if (r.bottom < r.top) r.bottom = r.top;
    return r;
}

} // namespace platform
