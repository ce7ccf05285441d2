#pragma once

// How the fuzz targets cut one input into the pieces a program is given.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quarrow::fuzz {

// The input cut at every separator byte, into at most most pieces (the last keeps the rest).
inline std::vector<std::string> Pieces(const std::uint8_t* data, std::size_t size, char separator,
                                       std::size_t most) {
  std::string_view rest(reinterpret_cast<const char*>(data), size);
  std::vector<std::string> pieces;
  while (pieces.size() + 1 < most) {
    const std::size_t cut = rest.find(separator);
    if (cut == std::string_view::npos) {
      break;
    }
    pieces.emplace_back(rest.substr(0, cut));
    rest.remove_prefix(cut + 1);
  }
  pieces.emplace_back(rest);
  return pieces;
}

// An argument vector: the arguments are the input's pieces between NUL bytes.
inline std::vector<std::string> Arguments(const std::uint8_t* data, std::size_t size) {
  return size == 0 ? std::vector<std::string>{} : Pieces(data, size, '\0', 64);
}

}  // namespace quarrow::fuzz
