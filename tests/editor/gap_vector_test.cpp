#include "editor/gap_vector.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace corvid {
namespace {

// Random insertions and erasures at random and at neighbouring places give what a plain
// vector gives.
TEST(GapVector, BehavesLikeAVector) {
    std::mt19937 random(3);
    TGapVector<std::string> gap;
    std::vector<std::string> plain;
    size_t place = 0;
    for (int step = 0; step < 20000; ++step) {
        if (random() % 3 == 0)
            place = random() % (plain.size() + 1);
        place = std::min(place, plain.size());
        const std::string value = std::to_string(step);
        switch (random() % 4) {
        case 0:
        case 1:
            gap.Insert(place, value);
            plain.insert(plain.begin() + static_cast<ptrdiff_t>(place), value);
            ++place;
            break;
        case 2:
            if (place < plain.size()) {
                const size_t count = std::min<size_t>(1 + random() % 3, plain.size() - place);
                gap.Erase(place, count);
                plain.erase(plain.begin() + static_cast<ptrdiff_t>(place),
                            plain.begin() + static_cast<ptrdiff_t>(place + count));
            }
            break;
        default:
            if (step % 500 == 0)
                gap.ShrinkToFit(step % 1000 == 0 ? 0 : 7);
            break;
        }
        ASSERT_EQ(gap.size(), plain.size());
        if (step % 97 != 0)
            continue;
        for (size_t index = 0; index < plain.size(); ++index)
            ASSERT_EQ(gap[index], plain[index]) << step;
    }
}

} // namespace
} // namespace corvid
