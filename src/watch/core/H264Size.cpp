#include "H264Size.h"

#include <QList>
#include <cstdint>
#include <functional>

namespace {
constexpr int kSpsNalType = 7;
constexpr int kHevcSpsNalType = 33;

// Reads the bits of a NAL unit's payload, its emulation prevention bytes already removed.
class BitReader {
public:
    explicit BitReader(const QByteArray& bytes) : bytes_(bytes) { }
    bool failed() const { return failed_; }
    std::uint32_t bits(int count)
    {
        std::uint32_t value = 0;
        for (int i = 0; i < count; ++i)
            value = (value << 1) | bit();
        return value;
    }
    std::uint32_t bit()
    {
        if (at_ >= bytes_.size() * 8) {
            failed_ = true;
            return 0;
        }
        const auto byte = static_cast<std::uint8_t>(bytes_[at_ / 8]);
        const std::uint32_t value = (byte >> (7 - at_ % 8)) & 1U;
        ++at_;
        return value;
    }
    // Exp-Golomb, unsigned; a code longer than 32 bits is damage.
    std::uint64_t ue()
    {
        int zeros = 0;
        while (!failed_ && bit() == 0) {
            if (++zeros > 32) {
                failed_ = true;
                return 0;
            }
        }
        if (failed_)
            return 0;
        return ((std::uint64_t(1) << zeros) - 1) + bits(zeros);
    }
    std::int64_t se()
    {
        const std::uint64_t code = ue();
        return (code & 1U) ? static_cast<std::int64_t>((code + 1) / 2) : -static_cast<std::int64_t>(code / 2);
    }

private:
    const QByteArray& bytes_;
    qsizetype at_ = 0;
    bool failed_ = false;
};

QByteArray WithoutEmulationPrevention(QByteArrayView nal)
{
    QByteArray out;
    out.reserve(nal.size());
    int zeros = 0;
    for (const char c : nal) {
        if (zeros >= 2 && c == 3) {
            zeros = 0;
            continue;
        }
        zeros = c == 0 ? zeros + 1 : 0;
        out += c;
    }
    return out;
}

void SkipScalingList(BitReader& reader, int size)
{
    std::int64_t last = 8;
    std::int64_t next = 8;
    for (int j = 0; j < size && !reader.failed(); ++j) {
        if (next != 0)
            next = (last + reader.se() + 256) % 256;
        last = next == 0 ? last : next;
    }
}

bool HasChromaFields(std::uint32_t profile)
{
    static const QList<std::uint32_t> profiles{100, 110, 122, 244, 44, 83, 86, 118, 128, 138, 139, 134, 135};
    return profiles.contains(profile);
}

// The SPS payload after its NAL header byte.
std::optional<QSize> SpsSize(const QByteArray& payload)
{
    BitReader r(payload);
    const std::uint32_t profile = r.bits(8);
    r.bits(16);  // constraint flags, level
    r.ue();      // seq_parameter_set_id
    std::uint64_t chroma = 1;
    bool separatePlanes = false;
    if (HasChromaFields(profile)) {
        chroma = r.ue();
        if (chroma > 3)
            return std::nullopt;
        if (chroma == 3)
            separatePlanes = r.bit() != 0;
        r.ue();   // bit depth, luma
        r.ue();   // bit depth, chroma
        r.bit();  // qpprime_y_zero_transform_bypass
        if (r.bit() != 0) {
            const int lists = chroma == 3 ? 12 : 8;
            for (int i = 0; i < lists; ++i)
                if (r.bit() != 0)
                    SkipScalingList(r, i < 6 ? 16 : 64);
        }
    }
    r.ue();  // log2_max_frame_num_minus4
    const std::uint64_t pocType = r.ue();
    if (pocType == 0) {
        r.ue();
    } else if (pocType == 1) {
        r.bit();
        r.se();
        r.se();
        const std::uint64_t cycle = r.ue();
        if (cycle > 255)
            return std::nullopt;
        for (std::uint64_t i = 0; i < cycle; ++i)
            r.se();
    } else if (pocType != 2) {
        return std::nullopt;
    }
    r.ue();   // max_num_ref_frames
    r.bit();  // gaps_in_frame_num_value_allowed_flag
    const std::uint64_t widthMbs = r.ue() + 1;
    const std::uint64_t heightUnits = r.ue() + 1;
    const bool frameMbsOnly = r.bit() != 0;
    if (!frameMbsOnly)
        r.bit();  // mb_adaptive_frame_field_flag
    r.bit();      // direct_8x8_inference_flag
    std::uint64_t crop[4] = {0, 0, 0, 0};
    if (r.bit() != 0)
        for (auto& c : crop)
            c = r.ue();
    if (r.failed() || widthMbs > 65536 || heightUnits > 65536)
        return std::nullopt;
    const std::uint64_t fieldFactor = frameMbsOnly ? 1 : 2;
    std::uint64_t cropX = 1;
    std::uint64_t cropY = fieldFactor;
    if (!separatePlanes && chroma == 1) {
        cropX = 2;
        cropY = 2 * fieldFactor;
    } else if (!separatePlanes && chroma == 2) {
        cropX = 2;
    }
    const std::uint64_t width = widthMbs * 16;
    const std::uint64_t height = heightUnits * 16 * fieldFactor;
    const std::uint64_t cutX = cropX * (crop[0] + crop[1]);
    const std::uint64_t cutY = cropY * (crop[2] + crop[3]);
    if (cutX >= width || cutY >= height)
        return std::nullopt;
    return QSize(static_cast<int>(width - cutX), static_cast<int>(height - cutY));
}

// The HEVC SPS payload after its two-byte NAL header.
std::optional<QSize> HevcSpsSize(const QByteArray& payload)
{
    BitReader r(payload);
    r.bits(4);                                  // sps_video_parameter_set_id
    const std::uint32_t subLayers = r.bits(3);  // sps_max_sub_layers_minus1
    r.bit();                                    // sps_temporal_id_nesting_flag
    // profile_tier_level: the general profile (88 bits) and level (8), then per sub-layer whether
    // its own profile and level follow, padded to eight flags' pairs.
    r.bits(32);
    r.bits(32);
    r.bits(24);
    r.bits(8);
    bool profilePresent[8] = {};
    bool levelPresent[8] = {};
    for (std::uint32_t i = 0; i < subLayers; ++i) {
        profilePresent[i] = r.bit() != 0;
        levelPresent[i] = r.bit() != 0;
    }
    if (subLayers > 0)
        for (std::uint32_t i = subLayers; i < 8; ++i)
            r.bits(2);
    for (std::uint32_t i = 0; i < subLayers; ++i) {
        if (profilePresent[i]) {
            r.bits(32);
            r.bits(32);
            r.bits(24);
        }
        if (levelPresent[i])
            r.bits(8);
    }
    r.ue();  // sps_seq_parameter_set_id
    const std::uint64_t chroma = r.ue();
    if (chroma > 3)
        return std::nullopt;
    const bool separatePlanes = chroma == 3 && r.bit() != 0;
    const std::uint64_t width = r.ue();
    const std::uint64_t height = r.ue();
    std::uint64_t crop[4] = {0, 0, 0, 0};
    if (r.bit() != 0)
        for (auto& c : crop)
            c = r.ue();
    if (r.failed() || width == 0 || height == 0 || width > 1U << 20 || height > 1U << 20)
        return std::nullopt;
    // The window's offsets count chroma samples: two luma samples across in 4:2:0 and 4:2:2,
    // two down in 4:2:0.
    const std::uint64_t unitX = !separatePlanes && (chroma == 1 || chroma == 2) ? 2 : 1;
    const std::uint64_t unitY = !separatePlanes && chroma == 1 ? 2 : 1;
    const std::uint64_t cutX = unitX * (crop[0] + crop[1]);
    const std::uint64_t cutY = unitY * (crop[2] + crop[3]);
    if (cutX >= width || cutY >= height)
        return std::nullopt;
    return QSize(static_cast<int>(width - cutX), static_cast<int>(height - cutY));
}

std::optional<QSize> FromHvcC(const QByteArray& data)
{
    // 22 bytes of header, the number of arrays, then each array: its NAL type, its count and
    // each unit with its length.
    constexpr qsizetype kHeaderBytes = 23;
    if (data.size() < kHeaderBytes)
        return std::nullopt;
    const auto byte = [&data](qsizetype at) { return static_cast<std::uint8_t>(data[at]); };
    const int arrays = byte(22);
    qsizetype at = kHeaderBytes;
    for (int a = 0; a < arrays; ++a) {
        if (at + 3 > data.size())
            return std::nullopt;
        const int type = byte(at) & 0x3f;
        const int count = (byte(at + 1) << 8) | byte(at + 2);
        at += 3;
        for (int n = 0; n < count; ++n) {
            if (at + 2 > data.size())
                return std::nullopt;
            const qsizetype length = (byte(at) << 8) | byte(at + 1);
            at += 2;
            if (at + length > data.size())
                return std::nullopt;
            if (type == kHevcSpsNalType && length > 2)
                return HevcSpsSize(WithoutEmulationPrevention(QByteArrayView(data).sliced(at + 2, length - 2)));
            at += length;
        }
    }
    return std::nullopt;
}

// The payload of the first NAL unit of Annex B data whose header says `isSps`; `headerBytes`
// long headers (one for H.264, two for HEVC).
std::optional<QByteArray> FirstSps(const QByteArray& data, qsizetype headerBytes,
                                   const std::function<bool(std::uint8_t)>& isSps)
{
    const QByteArrayView view(data);
    qsizetype at = 0;
    while (true) {
        const qsizetype start = view.indexOf(QByteArrayView("\0\0\1", 3), at);
        if (start < 0 || start + 3 + headerBytes > view.size())
            return std::nullopt;
        const qsizetype nalAt = start + 3;
        qsizetype end = view.indexOf(QByteArrayView("\0\0\1", 3), nalAt);
        if (end < 0)
            end = view.size();
        // A unit shorter than its header (the next start code right after an HEVC unit's first
        // byte) has no payload; its length would come out negative.
        if (end - nalAt >= headerBytes && isSps(static_cast<std::uint8_t>(view[nalAt])))
            return WithoutEmulationPrevention(view.sliced(nalAt + headerBytes, end - nalAt - headerBytes));
        at = nalAt;
    }
}

std::optional<QSize> FromAvcC(const QByteArray& data)
{
    // version, profile, compatibility, level, length size, then the SPS count and the first SPS.
    if (data.size() < 8 || (static_cast<std::uint8_t>(data[5]) & 0x1f) == 0)
        return std::nullopt;
    const qsizetype length = (static_cast<std::uint8_t>(data[6]) << 8) | static_cast<std::uint8_t>(data[7]);
    if (length < 2 || 8 + length > data.size())
        return std::nullopt;
    return SpsSize(WithoutEmulationPrevention(QByteArrayView(data).sliced(9, length - 1)));
}
}  // namespace

std::optional<QSize> H264DeclaredSize(const QByteArray& data)
{
    if (!data.isEmpty() && data[0] == 1)
        return FromAvcC(data);
    const auto sps = FirstSps(data, 1, [](std::uint8_t header) { return (header & 0x1f) == kSpsNalType; });
    return sps ? SpsSize(*sps) : std::nullopt;
}

std::optional<QSize> HevcDeclaredSize(const QByteArray& data)
{
    if (!data.isEmpty() && data[0] == 1)
        return FromHvcC(data);
    const auto sps = FirstSps(data, 2, [](std::uint8_t header) { return ((header >> 1) & 0x3f) == kHevcSpsNalType; });
    return sps ? HevcSpsSize(*sps) : std::nullopt;
}

bool H264ContinuesPicture(const QByteArray& data)
{
    const QByteArrayView view(data);
    qsizetype at = 0;
    while (true) {
        const qsizetype start = view.indexOf(QByteArrayView("\0\0\1", 3), at);
        if (start < 0 || start + 4 >= view.size())
            return false;
        const int type = static_cast<std::uint8_t>(view[start + 3]) & 0x1f;
        if (type == 1 || type == 5)  // a slice: first_mb_in_slice is 0 exactly when its first bit is set
            return (static_cast<std::uint8_t>(view[start + 4]) & 0x80) == 0;
        at = start + 3;
    }
}
