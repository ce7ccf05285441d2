#include "rules/trig.h"

namespace quarrow::detail {

constinit const SinCosTables kSinCosTables = [] {
  SinCosTables t{};
  const auto angle = [](std::size_t count) {
    return Fixed::FromCount(static_cast<std::int64_t>(count)).ToDouble();
  };
  for (std::size_t h = 0; h < t.kCoarse; ++h) {
    t.coarseSin[h] = Sine(angle(h << kFineBits));
    t.coarseCos[h] = Cosine(angle(h << kFineBits));
  }
  for (std::size_t l = 0; l < t.kFine; ++l) {
    t.fineSin[l] = Sine(angle(l));
    t.fineCos[l] = Cosine(angle(l));
  }
  return t;
}();

}  // namespace quarrow::detail
