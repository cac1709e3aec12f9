// The application icon: four block emblems of the game on its indigo panel with a gold edge,
// painted at each size rather than scaled, so the small ones stay sharp.
#include "icon.h"

#include <algorithm>
#include <string>
#include <vector>

#include "output.h"
#include "theme.h"

namespace icon {

using namespace art;

Canvas Paint(int size) {
    Canvas c(size, size);
    const float s = static_cast<float>(size);
    const Box all{0, 0, size, size};
    const float inset = std::max(0.5f, s / 64), radius = s * 0.2f;
    const float x0 = inset, x1 = s - inset;
    c.Shape(RoundRect(x0, x0, x1, x1, radius),
            VerticalGradient(0, theme::kBgTop, s, theme::kPanelDeep), all);
    const float edge = std::max(1.0f, s / 28);
    c.Shape(Outline(RoundRect(x0 + edge / 2, x0 + edge / 2, x1 - edge / 2, x1 - edge / 2,
                              radius - edge / 2),
                    edge),
            VerticalGradient(0, theme::kGoldLight, s, theme::kGoldDeep), all);
    // Orb and pyramid above, cube and diamond below: a corner of the board.
    const int kinds[4] = {1, 2, 3, 4};
    const float cell = (x1 - x0 - 2 * edge) / 2, emblem = cell * 0.78f;
    for (int i = 0; i < 4; ++i) {
        float cx = x0 + edge + cell * (0.5f + static_cast<float>(i % 2));
        float cy = x0 + edge + cell * (0.5f + static_cast<float>(i / 2));
        theme::Emblem(c, kinds[i], cx, cy, emblem);
    }
    return c;
}

bool Write(const std::filesystem::path& dir) {
    bool ok = true;
    for (int size : kSizes) {
        Canvas c = Paint(size);
        std::vector<uint32_t> argb(c.px.size());
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x) {
                Color p = c.At(x, y);
                auto byte = [](float v) {
                    return static_cast<uint32_t>(std::clamp(v, 0.0f, 1.0f) * 255 + 0.5f);
                };
                argb[static_cast<size_t>(y) * size + x] =
                    byte(p.a) << 24 | byte(p.r) << 16 | byte(p.g) << 8 | byte(p.b);
            }
        std::string name = std::to_string(size) + "x" + std::to_string(size);
        std::filesystem::path folder = dir / name / "apps";
        std::error_code ec;
        std::filesystem::create_directories(folder, ec);
        ok &= out::WritePng(folder / "tessarune.png", size, size, argb, true);
    }
    return ok;
}

} // namespace icon
