#pragma once

#include "monitors/MMonitors.h"
#include "platform/Clipboard.h"
#include "platform/ImageEncoder.h"
#include "platform/KeyListener.h"
#include "platform/RecognitionEngine.h"
#include "platform/ScreenGrabber.h"
#include "platform/Shell.h"
#include "platform/SpecialFolders.h"
#include "platform/Windowing.h"

namespace pellix {

// The outside services the main window works through, chosen once in main()
// (or by a test) and handed in; the window owns none of them.
struct Services {
    Windowing& windowing;
    Clipboard& clipboard;
    Shell& shell;
    SpecialFolders& folders;
    ImageEncoder& encoder;
    ScreenGrabber& grabber;
    KeyListener& keys;
    MMonitors& monitors;
    RecognitionEngine& recognition;
};

} // namespace pellix
