#pragma once

#include "platform/ImageEncoder.h"

#include <optional>

namespace pellix {

inline std::optional<std::int32_t> findParam(const std::vector<EncoderParam>& params,
                                             EncoderParameter id) {
    for (const EncoderParam& p : params) {
        if (p.id == id) {
            return p.value;
        }
    }
    return std::nullopt;
}

} // namespace pellix
