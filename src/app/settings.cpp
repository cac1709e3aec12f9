// The settings file settings.ini.
#include "app/settings.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdio>
#include <filesystem>
#include <map>

#include "media/sound.h"
#include "menus/options.h"
#include "platform/files.h"
#include "platform/input_map.h"
#include "play/opponent.h"

using namespace platform;

namespace {

// At most this many ignored lines are reported one by one; the rest are counted.
constexpr size_t kMaxMessages = 20;

struct Line {
    enum Kind { kEmpty, kSection, kSetting, kBad } kind = kEmpty;
    std::string section, name, value, why;
};

std::string_view Trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

std::string Upper(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

std::string Lower(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

Line ParseLine(std::string_view raw) {
    Line l;
    if (raw.size() > kMaxSettingsLine) {
        l.kind = Line::kBad;
        l.why = "longer than " + std::to_string(kMaxSettingsLine) + " characters";
        return l;
    }
    if (!raw.empty() && raw.back() == '\r') raw.remove_suffix(1);
    if (std::any_of(raw.begin(), raw.end(), [](char c) {
            return (static_cast<unsigned char>(c) < 0x20 && c != '\t') || c == 0x7F;
        })) {
        l.kind = Line::kBad;
        l.why = "not text";
        return l;
    }
    std::string_view s = Trim(raw.substr(0, raw.find('#')));
    if (s.empty()) return l;
    if (s.front() == '[') {
        if (s.back() != ']' || s.size() < 3) {
            l.kind = Line::kBad;
            l.why = "expected [section]";
            return l;
        }
        l.kind = Line::kSection;
        l.section = Trim(s.substr(1, s.size() - 2));
        return l;
    }
    size_t eq = s.find('=');
    if (eq == std::string_view::npos || Trim(s.substr(0, eq)).empty()) {
        l.kind = Line::kBad;
        l.why = "expected NAME = VALUE";
        return l;
    }
    l.kind = Line::kSetting;
    l.name = Trim(s.substr(0, eq));
    l.value = Trim(s.substr(eq + 1));
    return l;
}

// The line as it can be shown on a terminal: printable characters only, cut short.
std::string Excerpt(std::string_view raw) {
    std::string out;
    for (char c : raw.substr(0, 60)) out += (c >= 0x20 && c < 0x7F) ? c : '?';
    if (raw.size() > 60) out += "...";
    return out;
}

std::vector<std::string> SplitLines(std::string_view text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        lines.emplace_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

bool ParseInt(std::string_view text, int32_t low, int32_t high, int32_t& out) {
    int64_t v = 0;
    auto r = std::from_chars(text.data(), text.data() + text.size(), v);
    if (r.ec != std::errc() || r.ptr != text.data() + text.size() || text.empty() || v < low ||
        v > high)
        return false;
    out = static_cast<int32_t>(v);
    return true;
}

bool ParseBool(std::string_view text, bool& out) {
    std::string v = Lower(text);
    if (v == "yes" || v == "true" || v == "on" || v == "1") return out = true, true;
    if (v == "no" || v == "false" || v == "off" || v == "0") return out = false, true;
    return false;
}

// A binding line's value: keys and pad inputs ("pad:NAME"), separated by commas; "none" and
// "pad:none" leave the action without keys or without pad inputs.
struct Candidate {
    size_t line = 0; // index into the lines
    int action = -1;
    bool keysGiven = false, padsGiven = false;
    std::vector<int> keys, pads;
};

bool ParseInputs(std::string_view value, Candidate& c, std::string& why) {
    if (value.empty()) {
        why = "no key given (\"none\" for none)";
        return false;
    }
    while (true) {
        size_t comma = value.find(',');
        std::string_view item = Trim(value.substr(0, comma));
        std::string lower = Lower(item);
        if (item.empty()) {
            why = "an empty name between commas";
            return false;
        }
        if (lower.rfind("pad:", 0) == 0) {
            std::string name = lower.substr(4);
            c.padsGiven = true;
            if (name != "none") {
                int input = PadInputFromName(name);
                if (input < 0) {
                    why = "no pad button is called '" + Excerpt(item.substr(4)) + "'";
                    return false;
                }
                if (std::find(c.pads.begin(), c.pads.end(), input) == c.pads.end())
                    c.pads.push_back(input);
            }
        } else {
            c.keysGiven = true;
            if (lower != "none") {
                int key = PhysicalKeyFromName(Upper(item));
                if (key < 0) {
                    why = "no key is called '" + Excerpt(item) + "'";
                    return false;
                }
                if (std::find(c.keys.begin(), c.keys.end(), key) == c.keys.end())
                    c.keys.push_back(key);
            }
        }
        if (comma == std::string_view::npos) return true;
        value.remove_prefix(comma + 1);
    }
}

KeyBindings Apply(const std::vector<Candidate>& candidates, const std::vector<bool>& ignored) {
    KeyBindings b = DefaultKeyBindings();
    for (size_t i = 0; i < candidates.size(); ++i) {
        if (ignored[i]) continue;
        const Candidate& c = candidates[i];
        if (c.keysGiven) b[c.action].keys = c.keys;
        if (c.padsGiven) b[c.action].pads = c.pads;
    }
    return b;
}

// Bindings that collide are dropped, the later line first, until none do (the defaults
// never collide among themselves).
KeyBindings ResolveBindings(const std::vector<Candidate>& candidates,
                            std::vector<std::pair<size_t, std::string>>& ignoredLines) {
    std::vector<bool> ignored(candidates.size(), false);
    for (;;) {
        KeyBindings b = Apply(candidates, ignored);
        int culprit = -1, other = -1;
        for (int a = 0; a < static_cast<int>(b.size()) && culprit < 0; ++a) {
            int o = CollidingAction(b, a);
            if (o < 0) continue;
            for (size_t i = 0; i < candidates.size(); ++i) {
                if (ignored[i] || (candidates[i].action != a && candidates[i].action != o))
                    continue;
                if (culprit < 0 || candidates[i].line > candidates[culprit].line) {
                    culprit = static_cast<int>(i);
                    other = candidates[i].action == a ? o : a;
                }
            }
        }
        if (culprit < 0) return b;
        ignored[culprit] = true;
        ignoredLines.emplace_back(candidates[culprit].line, "collides with " + ActionLabel(other) +
                                                                " (one key or pad "
                                                                "button for both)");
    }
}

} // namespace

SettingsFile ParseSettings(std::string_view text) {
    SettingsFile file;
    file.lines = SplitLines(text);
    std::vector<std::pair<size_t, std::string>> ignored; // line index, why
    std::vector<Candidate> candidates;
    std::map<std::string, size_t> seen; // "section name" -> the line that holds it
    std::string section;
    bool known = false, skipping = false;
    for (size_t i = 0; i < file.lines.size(); ++i) {
        Line l = ParseLine(file.lines[i]);
        auto bad = [&](std::string why) { ignored.emplace_back(i, std::move(why)); };
        if (l.kind == Line::kEmpty) continue;
        if (l.kind == Line::kBad) {
            bad(l.why);
            continue;
        }
        if (l.kind == Line::kSection) {
            section = l.section;
            known = section == "sound" || section == "window" || section == "versus" ||
                    (section.rfind("keys.", 0) == 0 && IsKeySection(section.substr(5)));
            skipping = !known;
            if (!known)
                bad("no section is called [" + Excerpt(section) + "]; its lines are skipped");
            continue;
        }
        if (skipping) continue;
        if (!known) {
            bad("a setting before any [section]");
            continue;
        }
        std::string key = section + " " + l.name;
        const auto [it, fresh] = seen.try_emplace(key, i);
        const size_t holder = it->second; // (a structured binding cannot be captured)
        auto again = [&] { bad("given again; line " + std::to_string(holder + 1) + " holds"); };
        SettingsValues& v = file.values;
        if (section == "sound" && (l.name == "music" || l.name == "effects")) {
            if (!fresh) {
                again();
                continue;
            }
            if (!ParseInt(l.value, 0, 3, l.name == "music" ? v.music : v.effects))
                bad(l.name + " must be a level from 0 to 3");
        } else if (section == "window" && (l.name == "width" || l.name == "height")) {
            if (!fresh) {
                again();
                continue;
            }
            if (!ParseInt(l.value, kMinWindowSide, kMaxWindowSide,
                          l.name == "width" ? v.width : v.height))
                bad(l.name + " must be a whole number of pixels from " +
                    std::to_string(kMinWindowSide) + " to " + std::to_string(kMaxWindowSide));
        } else if (section == "window" && l.name == "fullscreen") {
            if (!fresh) {
                again();
                continue;
            }
            if (!ParseBool(l.value, v.fullscreen)) bad("fullscreen must be yes or no");
        } else if (section == "versus" && l.name == "opponent") {
            if (!fresh) {
                again();
                continue;
            }
            const int32_t level = CpuLevelFromName(l.value);
            if (level < 0)
                bad("opponent must be person, easy, normal or hard");
            else
                v.opponent = level;
        } else if (section.rfind("keys.", 0) == 0) {
            Candidate c;
            c.line = i;
            c.action = FindKeyAction(section.substr(5), l.name);
            if (c.action < 0) {
                seen.erase(key);
                bad("[" + section + "] has no action called '" + Excerpt(l.name) + "'");
                continue;
            }
            if (!fresh) {
                again();
                continue;
            }
            std::string why;
            if (!ParseInputs(l.value, c, why)) {
                bad(why);
                continue;
            }
            candidates.push_back(std::move(c));
        } else {
            seen.erase(key);
            bad("[" + section + "] has no setting called '" + Excerpt(l.name) + "'");
        }
    }
    file.bindings = ResolveBindings(candidates, ignored);
    std::sort(ignored.begin(), ignored.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    for (const auto& [i, why] : ignored)
        file.messages.push_back("line " + std::to_string(i + 1) + ": " + why + ": " +
                                Excerpt(file.lines[i]));
    return file;
}

std::string BindingValue(const ActionBinding& binding) {
    std::string out;
    for (int key : binding.keys) out += (out.empty() ? "" : ", ") + PhysicalKeyName(key);
    if (out.empty()) out = "none";
    for (int pad : binding.pads) out += ", pad:" + std::string(PadInputName(pad));
    if (binding.pads.empty()) out += ", pad:none";
    return out;
}

std::string SettingsText(const std::vector<std::string>& lines, const SettingsValues& values,
                         const std::vector<SettingLine>& more) {
    using Want = SettingLine;
    std::vector<Want> wants = {{"sound", "music", std::to_string(values.music)},
                               {"sound", "effects", std::to_string(values.effects)},
                               {"window", "width", std::to_string(values.width)},
                               {"window", "height", std::to_string(values.height)},
                               {"window", "fullscreen", values.fullscreen ? "yes" : "no"},
                               {"versus", "opponent", std::string(CpuLevelName(values.opponent))}};
    wants.insert(wants.end(), more.begin(), more.end());
    std::vector<std::string> out = lines;
    if (out.empty()) out.push_back("# Tessarune settings (README.md lists every one).");
    for (const Want& w : wants) {
        std::string wanted = std::string(w.name) + " = " + w.value;
        // The first line that sets it, under any header of its section, is replaced.
        std::string section;
        bool done = false;
        for (size_t i = 0; i < out.size() && !done; ++i) {
            Line l = ParseLine(out[i]);
            if (l.kind == Line::kSection) section = l.section;
            if (l.kind == Line::kSetting && section == w.section && l.name == w.name) {
                out[i] = wanted;
                done = true;
            }
        }
        if (done) continue;
        // Else it goes after the last line of the section's first block, or in a new section.
        size_t header = out.size();
        for (size_t i = 0; i < out.size() && header == out.size(); ++i) {
            Line l = ParseLine(out[i]);
            if (l.kind == Line::kSection && l.section == w.section) header = i;
        }
        if (header == out.size()) {
            if (!Trim(out.back()).empty()) out.push_back("");
            out.push_back("[" + std::string(w.section) + "]");
            out.push_back(wanted);
            continue;
        }
        size_t place = header;
        for (size_t i = header + 1; i < out.size(); ++i) {
            Line l = ParseLine(out[i]);
            if (l.kind == Line::kSection) break;
            if (!Trim(out[i]).empty()) place = i;
        }
        out.insert(out.begin() + static_cast<std::ptrdiff_t>(place) + 1, wanted);
    }
    std::string text;
    for (const std::string& l : out) text += l + "\n";
    return text;
}

namespace {

struct Store {
    std::string path;      // "" when the run has no settings file
    bool writable = false; // the file was read, or there was none
    bool refusedSaid = false;
    std::vector<std::string> lines;
    SettingsValues saved, values;
    KeyBindings savedBindings, bindings;
} g;

// The versus opponent chosen on the mode select; not one set for a computer-against-computer
// run (the mode select only ever chooses the right side).
void TakeOpponent() {
    if (Opponents.left == kCpuOff)
        g.values.opponent = std::clamp<int32_t>(Opponents.right, kCpuOff, kCpuHard);
}

void Save() {
    if (g.path.empty() || (g.values == g.saved && g.bindings == g.savedBindings)) return;
    if (!g.writable) {
        if (!g.refusedSaid)
            std::fprintf(stderr,
                         "tessarune: '%s' could not be read, so it is not rewritten; "
                         "the settings of this run are not kept\n",
                         g.path.c_str());
        g.refusedSaid = true;
        return;
    }
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(g.path).parent_path(), ec);
    std::vector<SettingLine> changed;
    for (size_t i = 0; i < g.bindings.size(); ++i)
        if (g.bindings[i] != g.savedBindings[i])
            changed.push_back({"keys." + std::string(KeyActions()[i].section),
                               std::string(KeyActions()[i].name), BindingValue(g.bindings[i])});
    std::string text = SettingsText(g.lines, g.values, changed);
    if (!ReplaceFileAtomically(g.path, text)) {
        std::fprintf(stderr, "tessarune: cannot write the settings file '%s'\n", g.path.c_str());
        return;
    }
    g.lines = ParseSettings(text).lines;
    g.saved = g.values;
    g.savedBindings = g.bindings;
}

} // namespace

std::string SettingsFolder(const CommandLine& options) {
    if (!options.replay.empty()) return "";
    if (!options.config.empty()) return options.config;
    return options.headless ? "" : UserConfigFolder();
}

void LoadUserSettings(const std::string& folder) {
    g = Store{};
    SettingsFile file;
    if (!folder.empty()) {
        g.path = folder + "/settings.ini";
        std::vector<uint8_t> bytes;
        switch (ReadRegularFile(g.path, bytes, kMaxSettingsBytes)) {
        case ReadResult::kRead:
            file = ParseSettings(
                std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
            g.writable = true;
            break;
        case ReadResult::kMissing:
            g.writable = true;
            break;
        case ReadResult::kFailed:
            std::fprintf(stderr,
                         "tessarune: cannot read the settings file '%s' (not a regular file "
                         "of at most %zu KiB, or unreadable); the defaults are used\n",
                         g.path.c_str(), kMaxSettingsBytes >> 10);
            break;
        }
    }
    for (size_t i = 0; i < file.messages.size() && i < kMaxMessages; ++i)
        std::fprintf(stderr, "tessarune: %s %s; ignored\n", g.path.c_str(),
                     file.messages[i].c_str());
    if (file.messages.size() > kMaxMessages)
        std::fprintf(stderr, "tessarune: %s: %zu more lines ignored\n", g.path.c_str(),
                     file.messages.size() - kMaxMessages);
    g.lines = file.lines;
    g.saved = g.values = file.values;
    g.savedBindings = g.bindings = file.bindings;

    TheInputMap().SetBindings(InputMapTables(file.bindings));
    UseSoundLevels(g.values.music, g.values.effects);
    Opponents.right = g.values.opponent;
}

void UseSoundLevels(int32_t music, int32_t effects) {
    music = std::clamp(music, 0, 3);
    effects = std::clamp(effects, 0, 3);
    Options.StartSe = effects;
    Options.StartSound = music;
    SeVol = LevelVolume[effects];
    Vol = LevelVolume[music];
}

const SettingsValues& UserSettings() {
    return g.values;
}

const std::string& UserSettingsPath() {
    return g.path;
}

void ApplyWindowSettings(Window& window) {
    if (g.path.empty()) return;
    if (g.values.width != 880 || g.values.height != 480)
        window.SetClientSize(g.values.width, g.values.height);
    if (g.values.fullscreen) window.SetFullScreen(true);
}

void SettingsAfterOptions() {
    g.values.music = Options.StartSound;
    g.values.effects = Options.StartSe;
    Save();
}

const KeyBindings& UserKeyBindings() {
    return g.bindings;
}

void UseKeyBindings(const KeyBindings& bindings) {
    g.bindings = bindings;
    TheInputMap().SetBindings(InputMapTables(bindings));
    Save();
}

void SettingsAfterSelect() {
    TakeOpponent();
    Save();
}

void KeepSettingsAtExit(const Window& window, bool inOptions) {
    int width = 0, height = 0;
    window.WindowedSize(width, height);
    if (width > 0 && height > 0) { // a real window (none in headless runs)
        g.values.width = std::clamp(width, kMinWindowSide, kMaxWindowSide);
        g.values.height = std::clamp(height, kMinWindowSide, kMaxWindowSide);
        g.values.fullscreen = window.FullScreen();
    }
    if (inOptions) {
        g.values.music = Options.Sound;
        g.values.effects = Options.Se;
    }
    TakeOpponent();
    Save();
}
