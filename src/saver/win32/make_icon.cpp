// Draws the saver's icon from its own picture: a community grown on a small
// habitat, reduced to a 16-colour 32 x 32 image and a 256-colour 48 x 48
// image, written as one .ico file. Run it by hand when the picture changes:
//   wine tintwalk_make_icon.exe tintwalk.ico [row [passes]]
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "communities/community.h"
#include "core/biotope.h"

namespace {

using tintwalk::biotope;

struct Colour {
    uint8_t red;
    uint8_t green;
    uint8_t blue;
};

// The community, its seed and how long it grows; chosen by eye.
int32_t iconRow = 1;
constexpr uint32_t kIconSeed = 20260101;
int iconPasses = 3000;

// The picture of a size x size habitat, top row first.
std::vector<Colour> GrowPicture(int32_t size) {
    tintwalk::surfaceWidth = size;
    tintwalk::surfaceHeight = size;
    std::vector<Colour> picture(static_cast<size_t>(size) * size);
    if (!tintwalk::InitCommunity(iconRow, kIconSeed))
        return picture;
    // Below 1200 cells a pass moves nobody; one step per pass keeps it alive.
    biotope.SetTrailLength(1);
    for (int pass = 0; pass < iconPasses; ++pass)
        biotope.Step();
    const uint8_t* cells = biotope.rgbHabitat.pixels;
    for (int32_t y = 0; y < size; ++y) {
        const uint8_t* row = cells + static_cast<size_t>(size - 1 - y) * size * 3;
        for (int32_t x = 0; x < size; ++x)
            picture[static_cast<size_t>(y) * size + x] = {row[x * 3], row[x * 3 + 1],
                                                          row[x * 3 + 2]};
    }
    biotope.Release();
    return picture;
}

int Channel(const Colour& c, int channel) {
    return channel == 0 ? c.red : channel == 1 ? c.green : c.blue;
}

// Median cut: split the box with the widest channel range at its median
// until there are `count` boxes; each box's mean is one palette entry.
std::vector<Colour> MedianCutPalette(std::vector<Colour> colours, size_t count) {
    struct Box {
        size_t begin;
        size_t end;
    };
    std::vector<Box> boxes = {{0, colours.size()}};
    auto widest = [&](const Box& box, int& channel) {
        int best = -1;
        for (int c = 0; c < 3; ++c) {
            int low = 255;
            int high = 0;
            for (size_t i = box.begin; i < box.end; ++i) {
                low = std::min(low, Channel(colours[i], c));
                high = std::max(high, Channel(colours[i], c));
            }
            if (high - low > best) {
                best = high - low;
                channel = c;
            }
        }
        return best;
    };
    while (boxes.size() < count) {
        size_t pick = boxes.size();
        int pickChannel = 0;
        int pickRange = 0;
        for (size_t b = 0; b < boxes.size(); ++b) {
            int channel = 0;
            const int range = boxes[b].end - boxes[b].begin > 1 ? widest(boxes[b], channel) : 0;
            if (range > pickRange) {
                pick = b;
                pickRange = range;
                pickChannel = channel;
            }
        }
        if (pick == boxes.size())
            break;
        Box box = boxes[pick];
        std::sort(colours.begin() + box.begin, colours.begin() + box.end,
                  [&](const Colour& a, const Colour& b) {
                      return Channel(a, pickChannel) < Channel(b, pickChannel);
                  });
        const size_t middle = box.begin + (box.end - box.begin) / 2;
        boxes[pick] = {box.begin, middle};
        boxes.push_back({middle, box.end});
    }
    std::vector<Colour> palette;
    for (const Box& box : boxes) {
        uint64_t sum[3] = {0, 0, 0};
        for (size_t i = box.begin; i < box.end; ++i) {
            for (int c = 0; c < 3; ++c)
                sum[c] += Channel(colours[i], c);
        }
        const uint64_t n = std::max<uint64_t>(1, box.end - box.begin);
        palette.push_back({static_cast<uint8_t>(sum[0] / n), static_cast<uint8_t>(sum[1] / n),
                           static_cast<uint8_t>(sum[2] / n)});
    }
    palette.resize(count, Colour{0, 0, 0});
    return palette;
}

uint8_t Nearest(const std::vector<Colour>& palette, const Colour& c) {
    int best = 0;
    int bestDistance = 1 << 30;
    for (size_t i = 0; i < palette.size(); ++i) {
        const int dr = c.red - palette[i].red;
        const int dg = c.green - palette[i].green;
        const int db = c.blue - palette[i].blue;
        const int distance = dr * dr + dg * dg + db * db;
        if (distance < bestDistance) {
            bestDistance = distance;
            best = static_cast<int>(i);
        }
    }
    return static_cast<uint8_t>(best);
}

void Put16(std::vector<uint8_t>& out, uint32_t value) {
    out.push_back(static_cast<uint8_t>(value));
    out.push_back(static_cast<uint8_t>(value >> 8));
}

void Put32(std::vector<uint8_t>& out, uint32_t value) {
    Put16(out, value & 0xffff);
    Put16(out, value >> 16);
}

// One icon image: a bitmap header of twice the height (colour rows, then
// the transparency mask), the palette, the colour rows bottom-up, and an
// all-opaque mask.
std::vector<uint8_t> IconImage(const std::vector<Colour>& picture, int size, int bits) {
    const size_t colours = size_t{1} << bits;
    const std::vector<Colour> palette = MedianCutPalette(picture, colours);
    const uint32_t colourRow = ((size * bits + 31) / 32) * 4;
    const uint32_t maskRow = ((size + 31) / 32) * 4;
    std::vector<uint8_t> out;
    Put32(out, 40);
    Put32(out, size);
    Put32(out, size * 2);
    Put16(out, 1);
    Put16(out, bits);
    Put32(out, 0);  // BI_RGB
    Put32(out, (colourRow + maskRow) * size);
    Put32(out, 0);
    Put32(out, 0);
    Put32(out, 0);
    Put32(out, 0);
    for (const Colour& c : palette) {
        out.push_back(c.blue);
        out.push_back(c.green);
        out.push_back(c.red);
        out.push_back(0);
    }
    for (int y = size - 1; y >= 0; --y) {
        std::vector<uint8_t> row(colourRow, 0);
        for (int x = 0; x < size; ++x) {
            const uint8_t index = Nearest(palette, picture[static_cast<size_t>(y) * size + x]);
            if (bits == 8)
                row[x] = index;
            else
                row[x / 2] |= static_cast<uint8_t>(x % 2 == 0 ? index << 4 : index);
        }
        out.insert(out.end(), row.begin(), row.end());
    }
    out.insert(out.end(), static_cast<size_t>(maskRow) * size, 0);
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2 || argc > 4) {
        std::fprintf(stderr, "usage: %s output.ico [row [passes]]\n", argv[0]);
        return 2;
    }
    if (argc > 2)
        iconRow = std::atoi(argv[2]);
    if (argc > 3)
        iconPasses = std::atoi(argv[3]);
    const std::vector<uint8_t> small = IconImage(GrowPicture(32), 32, 4);
    const std::vector<uint8_t> large = IconImage(GrowPicture(48), 48, 8);

    std::vector<uint8_t> file;
    Put16(file, 0);
    Put16(file, 1);  // an icon
    Put16(file, 2);
    uint32_t offset = 6 + 2 * 16;
    const struct {
        const std::vector<uint8_t>* data;
        int size;
        int bits;
    } entries[] = {{&small, 32, 4}, {&large, 48, 8}};
    for (const auto& entry : entries) {
        file.push_back(static_cast<uint8_t>(entry.size));
        file.push_back(static_cast<uint8_t>(entry.size));
        file.push_back(static_cast<uint8_t>(entry.bits == 4 ? 16 : 0));
        file.push_back(0);
        Put16(file, 1);
        Put16(file, entry.bits);
        Put32(file, static_cast<uint32_t>(entry.data->size()));
        Put32(file, offset);
        offset += static_cast<uint32_t>(entry.data->size());
    }
    file.insert(file.end(), small.begin(), small.end());
    file.insert(file.end(), large.begin(), large.end());

    std::FILE* out = std::fopen(argv[1], "wb");
    if (out == nullptr || std::fwrite(file.data(), 1, file.size(), out) != file.size()) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    std::fclose(out);
    return 0;
}
