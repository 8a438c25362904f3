// One explicit tic of an axis: its position and, optionally, its label text.
#pragma once

#include <optional>
#include <string>

namespace rizari {

struct TicLabel {
    std::optional<std::string> text;
    double position = 0.0;
};

}  // namespace rizari
