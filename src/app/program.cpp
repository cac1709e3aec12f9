// Start-up, the main loop and the shut-down of the game.
#include "app/program.h"

#include <chrono>
#include <cstdio>
#include <thread>

#include "app/bindings.h"
#include "app/scenes.h"
#include "app/settings.h"
#include "media/frame.h"
#include "media/preload.h"
#include "media/sound.h"
#include "menus/title.h"
#include "platform/clock.h"
#include "platform/input_map.h"
#include "platform/keyboard.h"
#include "platform/messages.h"
#include "platform/mixer.h"
#include "platform/startup.h"

using namespace platform;

int32_t SceneId = 0;
uint8_t QuitFlag = 0;
PresentParameters PresentParams;

namespace {

const char kTitle[] = "Tessarune";
const char kNoGraphics[] = "Direct3D の作成に失敗しました。";
const char kNoDevice[] = "DirectX9が初期化できません。\n未対応のパソコンと思われます。";
constexpr int kWidth = 880, kHeight = 480;

void FillPresentParams(uint32_t displayFormat) {
    PresentParams = PresentParameters{};
    PresentParams.BackBufferWidth = kWidth;
    PresentParams.BackBufferHeight = kHeight;
    PresentParams.BackBufferFormat = displayFormat;
    PresentParams.BackBufferCount = 0;
    PresentParams.SwapEffect = SWAPEFFECT_FLIP;
    PresentParams.Windowed = 1;
    PresentParams.EnableAutoDepthStencil = 1;
    PresentParams.AutoDepthStencilFormat = FMT_D16;
    PresentParams.Flags = PRESENTFLAG_LOCKABLE_BACKBUFFER;
    PresentParams.PresentationInterval = PRESENT_INTERVAL_DEFAULT;
}

} // namespace

intptr_t WindowProc(uint32_t message, uintptr_t wParam, intptr_t) {
    switch (message) {
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    case WM_KEYDOWN:
        if (wParam == static_cast<uintptr_t>(VK_ESCAPE)) PostQuitMessage(0);
        return 0;
    default:
        return 0;
    }
}

RunResult RunProgram(Backend& backend, Harness& harness) {
    RunResult result;
    MarkStartup("command line, settings and records");
    SceneId = harness.StartScene();
    QuitFlag = 0;
    ResetMessages();

    // Start-up. The title's pictures are read while the window and the device are made.
    if (SceneId == scene::kTitleInit) PreloadPictures(TitlePictures());
    struct PreloadEnd {
        ~PreloadEnd() { EndPreload(); }
    } preloadEnd; // what was not taken is dropped when the run ends
    SetWindowProc(WindowProc);
    std::unique_ptr<Window> window = backend.CreateMainWindow(kTitle, kWidth, kHeight);
    if (!window) return result;
    MarkStartup("window");
    window->Show();
    window->SetClientSize(kWidth, kHeight);
    ApplyWindowSettings(*window);
    SetEventPump([w = window.get()] { w->PumpEvents(); });
    SetMainWindow(window.get());

    if (!backend.CreateGraphics()) {
        backend.MessageBox(kNoGraphics, "ERROR");
        SetMainWindow(nullptr);
        SetEventPump(nullptr);
        return result;
    }
    MarkStartup("graphics library");
    FillPresentParams(backend.DisplayModeFormat());
    std::unique_ptr<GraphicsDevice> made;
    for (DeviceType type : {DeviceType::HardwareVertexProcessing,
                            DeviceType::SoftwareVertexProcessing, DeviceType::Reference}) {
        made = backend.CreateDevice(*window, type, PresentParams);
        if (made) break;
    }
    if (!made) {
        backend.MessageBox(kNoDevice, "ERROR");
        backend.ReleaseGraphics();
        SetMainWindow(nullptr);
        SetEventPump(nullptr);
        return result;
    }
    MarkStartup("graphics device");
    GraphicsDevice* device = harness.Wrap(std::move(made));
    SetDevice(device);
    SetFixedRenderState(*device);
    timeBeginPeriod(1);

    auto mixer = std::make_unique<Mixer>();
    mixer->SetCooperativeLevel(window.get(), DSSCL_PRIORITY);
    SoundBufferPtr primary;
    BufferDesc primaryDesc;
    primaryDesc.dwFlags = DSBCAPS_PRIMARYBUFFER | DSBCAPS_CTRLVOLUME | DSBCAPS_CTRLPAN;
    mixer->CreateSoundBuffer(primaryDesc, primary);
    WaveFormat output;
    output.wFormatTag = WAVE_FORMAT_PCM;
    output.nChannels = 2;
    output.nSamplesPerSec = 44100;
    output.nAvgBytesPerSec = 176400;
    output.nBlockAlign = 4;
    output.wBitsPerSample = 16;
    if (primary) primary->SetFormat(&output);
    SetSound(mixer.get());
    const bool soundOutput = !harness.Headless() && backend.StartSoundOutput(*mixer);
    harness.SetMixer(mixer.get(), soundOutput);
    if (soundOutput) mixer->StartStreaming(); // music is read ahead of the output thread
    MarkStartup("sound output");
    result.started = true;

    // The loop: one pending message per pass, a frame only when none is waiting.
    Msg msg;
    RunEnd quitCause = RunEnd::kStop; // what posted the quit message
    while (QuitFlag != 1) {
        if (PeekMessage(&msg)) {
            if (GetMessage(&msg) == 0) {
                result.exitCode = static_cast<int>(msg.wParam);
                result.end = quitCause;
                break;
            }
            result.exitCode = static_cast<int>(msg.wParam);
            if (quitCause == RunEnd::kStop && msg.message == WM_DESTROY) quitCause = RunEnd::kClose;
            if (quitCause == RunEnd::kStop && msg.message == WM_KEYDOWN &&
                msg.wParam == static_cast<uintptr_t>(VK_ESCAPE))
                quitCause = RunEnd::kEscape;
            TranslateMessage(msg);
            DispatchMessage(msg);
            continue;
        }
        if (SceneId == scene::kQuit || SceneId == scene::kQuitToo) {
            QuitFlag = 1;
            result.end = RunEnd::kQuit;
            break;
        }
        if (!SceneRuns(SceneId)) {
            // Nothing to run: only messages are handled.
            if (harness.Headless()) {
                std::fprintf(stderr, "tessarune: scene %d has nothing to run; stopping\n",
                             static_cast<int>(SceneId));
                result.end = RunEnd::kStop;
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
            continue;
        }
        if (!harness.BeforeFrame(result.frames)) continue;
        TheInputMap().SetContext(KeyContextOf(SceneId));
        const int32_t ran = SceneId;
        SceneId = RunScene(SceneId, PresentParams);
        if (ran % 2 == 0) platform::ReturnFreedMemory(); // a scene has loaded
        if (ran == scene::kOptionsFrame && SceneId != scene::kOptionsFrame) SettingsAfterOptions();
        if (ran == scene::kSelectFrame && SceneId != scene::kSelectFrame) SettingsAfterSelect();
        harness.AfterFrame(result.frames);
        ++result.frames;
        if (harness.LimitReached(result.frames)) {
            result.end = RunEnd::kFrames;
            break;
        }
    }
    harness.EndOfRun(result.frames, result.end);

    // Shut-down.
    KeepSettingsAtExit(*window, SceneId == scene::kOptionsFrame);
    ReleaseAllScenes();
    ShowCursor(true);
    backend.StopSoundOutput();
    mixer->StopStreaming();
    primary.reset();
    SetSound(nullptr);
    mixer.reset();
    timeEndPeriod(1);
    SetDevice(nullptr);
    harness.ReleaseDevice();
    backend.ReleaseGraphics();
    SetMainWindow(nullptr);
    SetEventPump(nullptr);
    return result;
}

std::string DumpState(int64_t frames) {
    JsonWriter json;
    json.BeginObject()
        .Field("SceneId", SceneId)
        .Field("frame", frames)
        .Field("Vol", Vol)
        .Field("SeVol", SeVol);
    DumpScenes(json);
    json.EndObject();
    return json.str();
}
