// LzssEncoder: hash-chain match search and group packing for the LZSS streams.
#include "LzssEncoder.h"
#include "LzssDecoder.h"
#include <algorithm>

namespace {

constexpr size_t maxLength = 18;
constexpr size_t maxDistance = LzssDecoder::windowSize - 1;
constexpr unsigned hashBits = 14;
constexpr int maxChain = 256;
constexpr int32_t none = -1;

unsigned hash3(const uint8_t* p)
{
    return ((p[0] << 10) ^ (p[1] << 5) ^ p[2]) & ((1u << hashBits) - 1);
}

// Collects items and writes each group's flag byte ahead of its eight items.
class GroupWriter {
public:
    explicit GroupWriter(std::vector<uint8_t>& out) : out_(out) {}
    void literal(uint8_t byte)
    {
        begin();
        out_[flagAt_] |= static_cast<uint8_t>(1u << bit_);
        out_.push_back(byte);
        ++bit_;
    }
    void copy(const uint8_t* item)
    {
        begin();
        out_.push_back(item[0]);
        out_.push_back(item[1]);
        ++bit_;
    }

private:
    void begin()
    {
        if (bit_ < 8)
            return;
        flagAt_ = out_.size();
        out_.push_back(0);
        bit_ = 0;
    }
    std::vector<uint8_t>& out_;
    size_t flagAt_ = 0;
    unsigned bit_ = 8;
};

}  // namespace

void LzssEncoder::packCopy(Layout layout, unsigned position, unsigned length, uint8_t* out)
{
    unsigned n = length - LzssDecoder::minCopy;
    out[0] = static_cast<uint8_t>(position);
    if (layout == Layout::mcg)
        out[1] = static_cast<uint8_t>((n << 4) | ((position >> 8) & 0x0F));
    else
        out[1] = static_cast<uint8_t>((((position >> 8) & 0x0F) << 4) | n);
}

std::vector<uint8_t> LzssEncoder::encode(Layout layout, const uint8_t* data, size_t size)
{
    // The text as the decoder's window sees it: the zero-filled window ahead
    // of the data, with index i at window position i % 4096.
    const size_t lead = LzssDecoder::startPosition;
    std::vector<uint8_t> text(lead + size + 2, 0);
    std::copy(data, data + size, text.begin() + lead);
    const size_t end = lead + size;

    std::vector<int32_t> head(size_t{1} << hashBits, none);
    std::vector<int32_t> prev(text.size(), none);
    auto insert = [&](size_t i) {
        unsigned h = hash3(&text[i]);
        prev[i] = head[h];
        head[h] = static_cast<int32_t>(i);
    };
    for (size_t i = 0; i < lead; ++i)
        insert(i);

    std::vector<uint8_t> out;
    out.reserve(size / 2 + 16);
    GroupWriter writer(out);
    size_t i = lead;
    while (i < end) {
        size_t bestLength = 0, bestAt = 0;
        size_t limit = std::min(maxLength, end - i);
        if (limit >= LzssDecoder::minCopy) {
            int chain = maxChain;
            for (int32_t c = head[hash3(&text[i])]; c != none && chain-- > 0; c = prev[c]) {
                size_t at = static_cast<size_t>(c);
                if (i - at > maxDistance)
                    break;
                size_t n = 0;
                while (n < limit && text[at + n] == text[i + n])
                    ++n;
                if (n > bestLength) {
                    bestLength = n;
                    bestAt = at;
                    if (n == limit)
                        break;
                }
            }
        }
        size_t step = 1;
        if (bestLength >= LzssDecoder::minCopy) {
            uint8_t item[2];
            packCopy(layout, static_cast<unsigned>(bestAt % LzssDecoder::windowSize),
                     static_cast<unsigned>(bestLength), item);
            writer.copy(item);
            step = bestLength;
        } else {
            writer.literal(text[i]);
        }
        for (size_t k = 0; k < step; ++k)
            insert(i + k);
        i += step;
    }
    return out;
}
