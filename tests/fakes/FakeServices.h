#pragma once

#include "app/Services.h"
#include "fakes/FakeClipboard.h"
#include "fakes/FakeDisplayMonitors.h"
#include "fakes/FakeImageEncoder.h"
#include "fakes/FakeKeyListener.h"
#include "fakes/FakeRecognitionEngine.h"
#include "fakes/FakeScreenGrabber.h"
#include "fakes/FakeShell.h"
#include "fakes/FakeSpecialFolders.h"
#include "fakes/FakeWindowing.h"

namespace pellix {

// Every outside service of the main window as a fake; test fixtures derive
// from it and hand services() to the window under test.
struct FakeServices {
    FakeWindowing windowing;
    FakeClipboard clipboard;
    FakeShell shell;
    FakeSpecialFolders folders;
    FakeImageEncoder encoder;
    FakeScreenGrabber grabber;
    FakeKeyListener keys;
    FakeDisplayMonitors display;
    MMonitors monitors{display, TwipsPerPixel{}};
    FakeRecognitionEngine recognition;

    Services services() {
        return {windowing, clipboard, shell,    folders,    encoder,
                grabber,   keys,      monitors, recognition};
    }
};

} // namespace pellix
