// Draws the program's hand pointer and writes it as a Windows cursor file
// (.cur): one 32x32 picture, 32 bits a pixel with alpha, its hotspot at the
// tip of the pointing finger.
#include <array>
#include <cstdint>
#include <cstdio>
#include <vector>

namespace {

constexpr int kSize = 32;
constexpr int kHotspotX = 7;
constexpr int kHotspotY = 1;

enum Pixel : std::uint8_t { kClear, kFill, kOutline };
using Picture = std::array<std::array<Pixel, kSize>, kSize>;

void fillRect(Picture& p, int left, int top, int right, int bottom) {
    for (int y = top; y <= bottom; ++y) {
        for (int x = left; x <= right; ++x) {
            p[std::size_t(y)][std::size_t(x)] = kFill;
        }
    }
}

void clear(Picture& p, int x, int y) {
    p[std::size_t(y)][std::size_t(x)] = kClear;
}

// The hand's body: four fingers (the index finger raised), a palm, a thumb
// along the left side and a cuff; then every clear pixel that touches the
// body becomes the outline, which also draws the one-pixel lines between
// the fingers.
Picture drawHand() {
    Picture p{};
    fillRect(p, 6, 1, 8, 16);    // index finger, raised
    fillRect(p, 10, 7, 12, 16);  // middle finger
    fillRect(p, 14, 8, 16, 16);  // ring finger
    fillRect(p, 18, 10, 19, 16); // little finger
    fillRect(p, 6, 14, 19, 23);  // palm
    fillRect(p, 7, 24, 18, 26);  // wrist
    for (int i = 0; i < 5; ++i) {
        fillRect(p, 2 + i / 2, 13 + i, 5, 14 + i); // thumb, sloping into the palm
    }
    // Rounded tips.
    clear(p, 6, 1), clear(p, 8, 1), clear(p, 10, 7), clear(p, 12, 7);
    clear(p, 14, 8), clear(p, 16, 8), clear(p, 19, 23);

    Picture out = p;
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            if (p[std::size_t(y)][std::size_t(x)] != kClear) {
                continue;
            }
            bool touches = false;
            for (int dy = -1; dy <= 1; ++dy) {
                for (int dx = -1; dx <= 1; ++dx) {
                    const int nx = x + dx, ny = y + dy;
                    if (nx >= 0 && ny >= 0 && nx < kSize && ny < kSize &&
                        p[std::size_t(ny)][std::size_t(nx)] == kFill) {
                        touches = true;
                    }
                }
            }
            if (touches) {
                out[std::size_t(y)][std::size_t(x)] = kOutline;
            }
        }
    }
    return out;
}

void put16(std::vector<std::uint8_t>& b, unsigned v) {
    b.push_back(std::uint8_t(v & 0xff));
    b.push_back(std::uint8_t((v >> 8) & 0xff));
}
void put32(std::vector<std::uint8_t>& b, std::uint32_t v) {
    put16(b, v & 0xffff);
    put16(b, v >> 16);
}

std::vector<std::uint8_t> cursorFile(const Picture& p) {
    constexpr std::uint32_t kHeaderSize = 40;
    constexpr std::uint32_t kColourBytes = kSize * kSize * 4;
    constexpr std::uint32_t kMaskBytes = kSize * (kSize / 8); // rows of 4 bytes, no padding
    constexpr std::uint32_t kImageOffset = 6 + 16;

    std::vector<std::uint8_t> b;
    // The directory: reserved, type 2 (cursor), one picture.
    put16(b, 0), put16(b, 2), put16(b, 1);
    // Its entry: size, no palette, the hotspot, the picture's length and place.
    b.push_back(kSize), b.push_back(kSize), b.push_back(0), b.push_back(0);
    put16(b, kHotspotX), put16(b, kHotspotY);
    put32(b, kHeaderSize + kColourBytes + kMaskBytes);
    put32(b, kImageOffset);
    // The picture: a bitmap header whose height counts colour and mask rows.
    put32(b, kHeaderSize), put32(b, kSize), put32(b, 2 * kSize);
    put16(b, 1), put16(b, 32);
    put32(b, 0), put32(b, kColourBytes + kMaskBytes);
    put32(b, 0), put32(b, 0), put32(b, 0), put32(b, 0);
    // Colour rows, bottom row first, blue-green-red-alpha.
    for (int y = kSize - 1; y >= 0; --y) {
        for (int x = 0; x < kSize; ++x) {
            switch (p[std::size_t(y)][std::size_t(x)]) {
            case kFill:
                b.push_back(0xff), b.push_back(0xff), b.push_back(0xff), b.push_back(0xff);
                break;
            case kOutline:
                b.push_back(0), b.push_back(0), b.push_back(0), b.push_back(0xff);
                break;
            default:
                b.push_back(0), b.push_back(0), b.push_back(0), b.push_back(0);
            }
        }
    }
    // The mask, bottom row first: a set bit leaves the screen showing through.
    for (int y = kSize - 1; y >= 0; --y) {
        for (int byte = 0; byte < kSize / 8; ++byte) {
            std::uint8_t bits = 0;
            for (int bit = 0; bit < 8; ++bit) {
                if (p[std::size_t(y)][std::size_t(byte * 8 + bit)] == kClear) {
                    bits |= std::uint8_t(0x80 >> bit);
                }
            }
            b.push_back(bits);
        }
    }
    return b;
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_hand_cursor <file>\n");
        return 2;
    }
    const std::vector<std::uint8_t> bytes = cursorFile(drawHand());
    std::FILE* file = std::fopen(argv[1], "wb");
    if (file == nullptr) {
        std::perror(argv[1]);
        return 1;
    }
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    const bool closed = std::fclose(file) == 0;
    if (!written || !closed) {
        std::fprintf(stderr, "make_hand_cursor: could not write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
