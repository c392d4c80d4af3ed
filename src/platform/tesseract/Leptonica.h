#pragma once

// Owning handles for Leptonica's objects.
#include <leptonica/allheaders.h>

#include <memory>

namespace pellix {

struct PixDeleter {
    void operator()(PIX* pix) const { pixDestroy(&pix); }
};
using PixPtr = std::unique_ptr<PIX, PixDeleter>;

struct PixaDeleter {
    void operator()(PIXA* pixa) const { pixaDestroy(&pixa); }
};
using PixaPtr = std::unique_ptr<PIXA, PixaDeleter>;

struct BoxaDeleter {
    void operator()(BOXA* boxa) const { boxaDestroy(&boxa); }
};
using BoxaPtr = std::unique_ptr<BOXA, BoxaDeleter>;

} // namespace pellix
