#pragma once
// The picture size an H.264 stream declares in its sequence parameter set, read before any
// decoder takes memory for it. FFmpeg refuses a declared 30000 x 30000 without saying which
// size it was, and takes anything below its own bound; the program's limit for pictures
// (kMaxPicturePixels) and a health text naming the size need the size itself.
#include <QByteArray>
#include <QSize>
#include <optional>

// The size of the first sequence parameter set in `data`: Annex B (start codes, as RTSP and MPEG-TS
// carry it) or an avcC record (as MP4 does). None when there is none or it cannot be read.
std::optional<QSize> H264DeclaredSize(const QByteArray& data);

// The same for an H.265 (HEVC) stream: pic_width/height_in_luma_samples of its first SPS, less the
// conformance window. Annex B or an hvcC record (as MP4 keeps it).
std::optional<QSize> HevcDeclaredSize(const QByteArray& data);

// Whether the Annex B data's first slice goes on with a picture begun in earlier data (its first
// macroblock is not the picture's first): a picture sent in several packets, one per slice.
bool H264ContinuesPicture(const QByteArray& data);
