// Arbitrary bytes through what an image file goes through before the engine
// sees it: the open, the header checks and limits, and the decoding of its
// pages one by one.
#include "platform/Error.h"
#include "platform/tesseract/ImageFile.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <sys/mman.h>
#include <unistd.h>

namespace {

// A decoder fills what its data does not cover, so a few bytes can ask for a
// whole page: pages are kept small here to keep the inputs quick. The check
// itself is the same at any limit.
constexpr long long FuzzPagePixels = 4'000'000;
constexpr int FuzzPages = 4;

// Whether a descriptor of the input file, other than `file` itself, is still
// open: the reading must close all it opened, or a program reading many
// files would run out of them.
bool leakedDescriptor(int file) {
    DIR* folder = opendir("/proc/self/fd");
    bool leaked = false;
    while (dirent* entry = readdir(folder)) {
        const int descriptor = std::atoi(entry->d_name);
        char target[256] = {};
        const QByteArray link = QByteArrayLiteral("/proc/self/fd/") + entry->d_name;
        if (entry->d_name[0] != '.' && descriptor != file && descriptor != dirfd(folder) &&
            readlink(link.constData(), target, sizeof target - 1) > 0 &&
            QByteArray(target).startsWith("/memfd:image")) {
            std::fprintf(stderr, "descriptor %d of the input was left open\n", descriptor);
            leaked = true;
        }
    }
    closedir(folder);
    return leaked;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    setMsgSeverity(L_SEVERITY_NONE);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // A file in memory, opened by name as any file is.
    static const int file = memfd_create("image", MFD_CLOEXEC);
    static const QByteArray name = "/proc/self/fd/" + QByteArray::number(file);
    if (ftruncate(file, 0) != 0 || pwrite(file, data, size, 0) != static_cast<ssize_t>(size)) {
        return 0;
    }
    try {
        pellix::ImageFile image(name, FuzzPagePixels);
        for (int page = 0; page < std::min(image.pageCount(), FuzzPages); ++page) {
            try {
                image.readPage(page);
            } catch (const pellix::Error&) {
            }
        }
    } catch (const pellix::Error&) {
    }
    if (leakedDescriptor(file)) {
        std::abort();
    }
    return 0;
}
