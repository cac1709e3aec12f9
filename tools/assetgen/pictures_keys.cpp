// Pictures of the key screen: its full-view background and its sheet of labels.
#include <string>

#include "media/key_labels.h"
#include "pictures.h"
#include "theme.h"

namespace pics {

using namespace art;
using namespace theme;

namespace {

Box BoxOf(const platform::Rect& r) {
    return {r.left, r.top, r.right, r.bottom};
}

void KeyScreenBackground() {
    // 880 x 480 on a 64 x 36 quad at z 10: fills the view. The game draws the page title at
    // (240, 96) between arrows, the rows from y 144 every 25 pixels in the panel (action at
    // x 160, keys at 440 and 580) and a message line at y 440.
    Canvas screen(880, 480);
    Backdrop(screen);
    Title(screen, "KEYS", 440, 58, 46);
    Hints(screen, {{"←→", "screen"}, {"↑↓", "action"}, {"Z", "new key"}, {"Z", "on Back to leave"}},
          440, 80, 13);
    Panel(screen, 120, 92, 760, 140, 14, true);
    Panel(screen, 120, 140, 760, 434, 16);
    Save("./bmp/キー設定.bmp", TextureForQuad(screen, {32, 18, 10}, 880, 480), kInk);
}

void Arrow(Canvas& c, const platform::Rect& r, bool pointsLeft) {
    float cx = r.left + 16.0f, cy = r.top + 16.0f, d = pointsLeft ? -1.0f : 1.0f;
    auto tri = Polygon({cx + d * 9, cy, cx - d * 6, cy - 10, cx - d * 6, cy + 10});
    c.Shape(Inset(tri, -2), kInk, BoxOf(r));
    c.Shape(tri, VerticalGradient(cy - 10, kGoldLight, cy + 10, kGoldDeep), BoxOf(r));
}

void KeyScreenLabels() {
    using namespace keylabels;
    Canvas c(1024, 1024);
    for (int i = 0; i < kPageCount; ++i) {
        platform::Rect r = PageRect(i);
        TextStyle s = Heading(24);
        DrawTextCentered(c, std::string(kPages[i].title), r.left + 200.0f, r.top + 20.0f,
                         Align::Center, s);
        r = StatusPageRect(i);
        std::string status = "(";
        status.append(kPages[i].title).append(")");
        DrawTextCentered(c, status, r.left + 4.0f, r.top + 16.0f, Align::Left, Body(18, kCream));
    }
    for (int i = 0; i < kActionCount; ++i) {
        platform::Rect r = ActionRect(i);
        TextStyle s = Heading(19);
        bool cheat = std::string(kActions[i].name).rfind("cheat", 0) == 0;
        if (cheat) s.fill = Solid(kMuted);
        DrawTextCentered(c, std::string(kActions[i].shown), r.left + 4.0f, r.top + 16.0f,
                         Align::Left, s);
    }
    for (int i = 0; i < kKeyLabelCount; ++i) {
        platform::Rect r = KeyRect(i);
        if (KeyLabelName(i) == "NONE") {
            DrawTextCentered(c, "(none)", r.left + 8.0f, r.top + 16.0f, Align::Left,
                             Body(16, kMuted));
            continue;
        }
        KeyCap(c, KeyLabelName(i), r.left + 6.0f, r.top + 15.0f, 24);
    }
    TextStyle press = Heading(20);
    press.fill = Solid(kGoldLight);
    DrawTextCentered(c, "PRESS A KEY", kPressAKey.left + 4.0f, kPressAKey.top + 16.0f, Align::Left,
                     press);
    TextStyle taken = Heading(20);
    taken.fill = Solid(kAlert);
    DrawTextCentered(c, "ALREADY TAKEN BY", kTakenBy.right - 8.0f, kTakenBy.top + 16.0f,
                     Align::Right, taken);
    DrawTextCentered(c, "BACK", kBack.left + 4.0f, kBack.top + 16.0f, Align::Left, Heading(21));
    const platform::Rect& p = kRowPlate;
    c.Shape(RoundRect(p.left + 2.0f, p.top + 2.0f, p.right - 2.0f, p.bottom - 2.0f, 10),
            Hex(0x4A5CB0, 0.55f), BoxOf(p));
    c.Shape(Outline(RoundRect(p.left + 2.0f, p.top + 2.0f, p.right - 2.0f, p.bottom - 2.0f, 10), 2),
            kGold, BoxOf(p));
    Arrow(c, kLeftArrow, true);
    Arrow(c, kRightArrow, false);
    Save("./bmp/キー設定の文字.bmp", c, kInk);
}

} // namespace

void MakeKeyPictures() {
    KeyScreenBackground();
    KeyScreenLabels();
}

} // namespace pics
