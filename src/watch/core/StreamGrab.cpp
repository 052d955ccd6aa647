#include "StreamGrab.h"

#include <QImage>
#include <QUrl>
#include <chrono>
#include <cstring>
#include <memory>
#include <netdb.h>
#include <optional>

#include "DIBSection.h"
#include "FfmpegLog.h"
#include "H264Size.h"
#include "JpegWriter.h"
#include "PictureCheck.h"
#include "TolvaneError.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/imgutils.h>
#include <libswscale/swscale.h>
}

namespace {
constexpr int kJpegQuality = 90;  // percent, as every saved picture

using Status = StreamStill::Status;

qint64 SteadyMs()
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// FFmpeg asks this while it connects, reads and waits: 1 ends the wait at once.
struct Interrupt {
    const std::atomic<bool>* abandon = nullptr;
    qint64 deadlineMs = 0;  // steady clock; 0: none
    bool timedOut = false;
};

int InterruptCallback(void* opaque)
{
    auto* interrupt = static_cast<Interrupt*>(opaque);
    if (interrupt->abandon->load())
        return 1;
    if (interrupt->deadlineMs > 0 && SteadyMs() >= interrupt->deadlineMs) {
        interrupt->timedOut = true;
        return 1;
    }
    return 0;
}

QString ErrorText(int error)
{
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(error, text, sizeof text);
    return QString::fromUtf8(text);
}

struct FormatCloser {
    void operator()(AVFormatContext* context) const { avformat_close_input(&context); }
};
struct CodecFreer {
    void operator()(AVCodecContext* context) const { avcodec_free_context(&context); }
};
struct PacketFreer {
    void operator()(AVPacket* packet) const { av_packet_free(&packet); }
};
struct FrameFreer {
    void operator()(AVFrame* frame) const { av_frame_free(&frame); }
};
struct ScaleFreer {
    void operator()(SwsContext* context) const { sws_freeContext(context); }
};
struct IoFreer {
    void operator()(AVIOContext* io) const
    {
        av_freep(&io->buffer);
        avio_context_free(&io);
    }
};
using Packet = std::unique_ptr<AVPacket, PacketFreer>;

StreamStill Fail(Status status, const QString& detail = {})
{
    StreamStill still;
    still.status = status;
    still.detail = detail;
    return still;
}

bool OverLimit(const QSize& size)
{
    return size.isValid() && qint64(size.width()) * size.height() > kMaxPicturePixels;
}

// The host of a stream address that FFmpeg could not reach: whether the name resolves at all.
bool HostResolves(const QString& address)
{
    const QString host = QUrl(address).host();
    if (host.isEmpty())
        return true;
    addrinfo hints{};
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    const int error = getaddrinfo(host.toUtf8().constData(), nullptr, &hints, &found);
    if (found)
        freeaddrinfo(found);
    return error != EAI_NONAME && error != EAI_FAIL
#ifdef EAI_NODATA
        && error != EAI_NODATA
#endif
        ;
}

// The decoded picture as the JPEG every picture of a cam travels as.
StreamStill Encode(const AVFrame& frame)
{
    const QSize size(frame.width, frame.height);
    std::unique_ptr<SwsContext, ScaleFreer> scale(
        sws_getContext(frame.width, frame.height, static_cast<AVPixelFormat>(frame.format), frame.width, frame.height,
                       AV_PIX_FMT_BGR24, SWS_BILINEAR, nullptr, nullptr, nullptr));
    if (!scale)
        return Fail(Status::Failed, QStringLiteral("the keyframe's pixel format cannot be converted"));
    cDIBSection dib;
    if (!dib.Create(frame.width, frame.height))
        return Fail(Status::Failed, QStringLiteral("no memory for the picture"));
    // The DIB's rows lie bottom-up: the top row is written last in memory, by a negative stride.
    const int stride = dib.BytesPerScanLine();
    uint8_t* const rows[4] = {dib.DIBSectionBitsPtr() + qint64(stride) * (frame.height - 1), nullptr, nullptr, nullptr};
    const int strides[4] = {-stride, 0, 0, 0};
    if (sws_scale(scale.get(), frame.data, frame.linesize, 0, frame.height, rows, strides) != frame.height)
        return Fail(Status::Failed, QStringLiteral("the keyframe could not be converted"));
    StreamStill still;
    try {
        still.jpeg = EncodeDibAsJpeg(dib, kJpegQuality);
    } catch (const TolvaneError& error) {
        return Fail(Status::Failed, error.description());
    }
    still.status = Status::Picture;
    still.size = size;
    return still;
}

StreamStill TooLargeStill(const QSize& size, const QString& codecName)
{
    StreamStill still = Fail(Status::TooLarge);
    still.size = size;
    still.codec = codecName;
    return still;
}

// The stream's video and its decoder, opened once the sizes it declares are within the limit.
struct VideoDecoder {
    int video = -1;
    QString codecName;
    bool h264 = false;
    bool hevc = false;
    // MP4's form (an avcC or hvcC record; fragmented-MP4 HLS segments): each packet is a whole
    // picture whose units have a length before them, no start codes to read them by.
    bool lengthPrefixed = false;
    std::unique_ptr<AVCodecContext, CodecFreer> codec;
};

// The picture size that parameter sets among `data` declare (H.264 and HEVC), read before any
// decoder takes memory for it.
std::optional<QSize> DeclaredSize(const VideoDecoder& decoder, const uint8_t* data, int size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), size);
    if (decoder.h264)
        return H264DeclaredSize(bytes);
    if (decoder.hevc)
        return HevcDeclaredSize(bytes);
    return std::nullopt;
}

// Finds the video of an open input and opens a decoder for it that decodes what `skip` leaves;
// nothing, with `failed` saying why, when there is no video, no decoder or too large a picture.
std::optional<VideoDecoder> OpenDecoder(AVFormatContext& format, AVDiscard skip, StreamStill& failed)
{
    VideoDecoder decoder;
    decoder.video = av_find_best_stream(&format, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
    if (decoder.video < 0) {
        failed = Fail(Status::NoVideo);
        return std::nullopt;
    }
    const AVCodecParameters& parameters = *format.streams[decoder.video]->codecpar;
    decoder.codecName = QString::fromLatin1(avcodec_get_name(parameters.codec_id));
    const AVCodec* codec = avcodec_find_decoder(parameters.codec_id);
    if (!codec) {
        failed = Fail(Status::CodecNotSupported);
        failed.codec = decoder.codecName;
        return std::nullopt;
    }
    decoder.h264 = parameters.codec_id == AV_CODEC_ID_H264;
    decoder.hevc = parameters.codec_id == AV_CODEC_ID_HEVC;
    decoder.lengthPrefixed =
        (decoder.h264 || decoder.hevc) && parameters.extradata_size > 0 && parameters.extradata[0] == 1;
    if (parameters.extradata_size > 0) {
        const auto declared = DeclaredSize(decoder, parameters.extradata, parameters.extradata_size);
        if (declared && OverLimit(*declared)) {
            failed = TooLargeStill(*declared, decoder.codecName);
            return std::nullopt;
        }
    }
    if (OverLimit(QSize(parameters.width, parameters.height))) {
        failed = TooLargeStill(QSize(parameters.width, parameters.height), decoder.codecName);
        return std::nullopt;
    }
    decoder.codec.reset(avcodec_alloc_context3(codec));
    if (!decoder.codec || avcodec_parameters_to_context(decoder.codec.get(), &parameters) < 0) {
        failed = Fail(Status::Failed, QStringLiteral("the decoder could not be set up"));
        return std::nullopt;
    }
    decoder.codec->thread_count = 1;  // one picture at a time: threads would only wait for one another
    decoder.codec->skip_frame = skip;
    decoder.codec->max_pixels = kMaxPicturePixels;
    if (const int error = avcodec_open2(decoder.codec.get(), codec, nullptr); error < 0) {
        failed = Fail(Status::Failed,
                      QStringLiteral("the %1 decoder refused the stream: %2").arg(decoder.codecName, ErrorText(error)));
        return std::nullopt;
    }
    return decoder;
}

// A keyframe packet of an H.264 or HEVC stream that declares a picture over the limit in its own
// parameter sets (a stream may change them in its middle). Units with lengths before them are not
// searched for start codes (a length may look like one); the decoder's own bound holds for them.
std::optional<QSize> KeyframeTooLarge(const VideoDecoder& decoder, const AVPacket& packet)
{
    if (decoder.lengthPrefixed)
        return std::nullopt;
    const auto declared = DeclaredSize(decoder, packet.data, packet.size);
    if (declared && OverLimit(*declared))
        return declared;
    return std::nullopt;
}

// Whether a packet goes on with the picture begun by `first`: a picture may come in several
// packets (one per slice, as RTP brings them), which must reach the decoder as one.
bool ContinuesPicture(const VideoDecoder& decoder, const AVPacket& first, const AVPacket& next)
{
    return decoder.h264 && !decoder.lengthPrefixed
        ? H264ContinuesPicture(QByteArray::fromRawData(reinterpret_cast<const char*>(next.data), next.size))
        : first.pts != AV_NOPTS_VALUE && next.pts == first.pts;
}

// A packet that is no picture's first part (known for H.264 only).
bool MidPicture(const VideoDecoder& decoder, const AVPacket& packet)
{
    return decoder.h264 && !decoder.lengthPrefixed &&
        H264ContinuesPicture(QByteArray::fromRawData(reinterpret_cast<const char*>(packet.data), packet.size));
}

// The parts of a picture as one packet with the first part's properties; null when out of memory.
Packet JoinedPacket(const QByteArray& picture, const AVPacket& first)
{
    Packet joined(av_packet_alloc());
    if (!joined || av_new_packet(joined.get(), static_cast<int>(picture.size())) < 0)
        return nullptr;
    std::memcpy(joined->data, picture.constData(), static_cast<size_t>(picture.size()));
    av_packet_copy_props(joined.get(), &first);
    return joined;
}

// Reads from an open input until its first keyframe and decodes it. `live`: the input is a
// stream, whose packet read after an error may be a keyframe cut off (FFmpeg hands what its
// parser held when the input ends); the keyframe is taken only once the packet after it came.
StreamStill ReadKeyframe(AVFormatContext& format, const Interrupt& interrupt, qint64 maxBytes, bool live,
                         const std::function<void(StreamStep)>& step)
{
    StreamStill failed;
    std::optional<VideoDecoder> opened = OpenDecoder(format, AVDISCARD_NONKEY, failed);
    if (!opened)
        return failed;
    const int video = opened->video;
    const QString& codecName = opened->codecName;
    AVCodecContext* const codec = opened->codec.get();
    const auto tooLarge = [&codecName](const QSize& size) { return TooLargeStill(size, codecName); };

    step(StreamStep::WaitingForKeyframe);
    qint64 bytes = 0;
    const auto readVideo = [&](Packet& packet) {
        while (true) {
            av_packet_unref(packet.get());
            if (const int error = av_read_frame(&format, packet.get()); error < 0)
                return error;
            if (packet->stream_index == video) {
                bytes += packet->size;
                return 0;
            }
        }
    };
    const auto readFailed = [&](int error, Status ended) {
        StreamStill still;
        if (interrupt.abandon->load())
            still = Fail(Status::Abandoned);
        else if (interrupt.timedOut)
            still = Fail(Status::NoKeyframe);
        else if (error == AVERROR_EOF)
            still = Fail(ended);
        else
            still = Fail(ended, ErrorText(error));
        still.bytesRead = bytes;
        still.codec = codecName;
        return still;
    };
    Packet key(av_packet_alloc());
    Packet next(av_packet_alloc());
    std::unique_ptr<AVFrame, FrameFreer> frame(av_frame_alloc());
    if (!key || !next || !frame)
        return Fail(Status::Failed, QStringLiteral("out of memory"));
    // A keyframe read as the stream is joined may lack slices (the connection began in its
    // middle): decoded, it comes out partly grey. Such a one is passed over for the next.
    while (true) {
        if (const int error = readVideo(key); error < 0)
            return readFailed(error, Status::Ended);
        if (bytes > maxBytes) {
            StreamStill still = Fail(Status::TooManyBytes);
            still.bytesRead = bytes;
            return still;
        }
        if (!(key->flags & AV_PKT_FLAG_KEY))
            continue;
        if (const auto declared = KeyframeTooLarge(*opened, *key))
            return tooLarge(*declared);
        // The picture may come in several packets (one per slice). It is whole once a packet of
        // the next picture comes; a stream that ends before that has cut it off.
        QByteArray picture(reinterpret_cast<const char*>(key->data), key->size);
        while (true) {
            if (const int error = readVideo(next); error < 0) {
                if (live)
                    return readFailed(error, Status::CutOff);
                break;
            }
            if (!ContinuesPicture(*opened, *key, *next))
                break;
            picture.append(reinterpret_cast<const char*>(next->data), next->size);
            if (bytes > maxBytes) {
                StreamStill still = Fail(Status::TooManyBytes);
                still.bytesRead = bytes;
                return still;
            }
        }
        if (picture.size() != key->size) {
            Packet joined = JoinedPacket(picture, *key);
            if (!joined)
                return Fail(Status::Failed, QStringLiteral("out of memory"));
            key = std::move(joined);
        }

        step(StreamStep::Decoding);
        int error = avcodec_send_packet(codec, key.get());
        if (error >= 0)
            error = avcodec_send_packet(codec, nullptr);  // the one picture, without waiting for more
        if (error >= 0)
            error = avcodec_receive_frame(codec, frame.get());
        if (error < 0) {
            if (codec->width > 0 && OverLimit(QSize(codec->width, codec->height)))
                return tooLarge(QSize(codec->width, codec->height));
            StreamStill still =
                Fail(Status::Failed, QStringLiteral("the keyframe does not decode: ") + ErrorText(error));
            still.codec = codecName;
            return still;
        }
        if (frame->decode_error_flags == 0 && (frame->flags & AV_FRAME_FLAG_CORRUPT) == 0)
            break;
        if (!live) {
            StreamStill still = Fail(Status::CutOff);
            still.codec = codecName;
            return still;
        }
        av_frame_unref(frame.get());
        avcodec_flush_buffers(codec);  // drained: ready for the next keyframe
        step(StreamStep::WaitingForKeyframe);
    }
    if (OverLimit(QSize(frame->width, frame->height)))
        return tooLarge(QSize(frame->width, frame->height));
    StreamStill still = Encode(*frame);
    still.codec = codecName;
    still.bytesRead = bytes;
    return still;
}

// The segment being read by a memory AVIOContext.
struct MemoryInput {
    const QByteArray* data = nullptr;
    qint64 at = 0;
};

int ReadMemory(void* opaque, uint8_t* buffer, int size)
{
    auto* input = static_cast<MemoryInput*>(opaque);
    const qint64 left = input->data->size() - input->at;
    if (left <= 0)
        return AVERROR_EOF;
    const int count = static_cast<int>(qMin<qint64>(left, size));
    std::memcpy(buffer, input->data->constData() + input->at, static_cast<size_t>(count));
    input->at += count;
    return count;
}

int64_t SeekMemory(void* opaque, int64_t offset, int whence)
{
    auto* input = static_cast<MemoryInput*>(opaque);
    const qint64 size = input->data->size();
    switch (whence & ~AVSEEK_FORCE) {
    case AVSEEK_SIZE:
        return size;
    case SEEK_SET:
        break;
    case SEEK_CUR:
        offset += input->at;
        break;
    case SEEK_END:
        offset += size;
        break;
    default:
        return -1;
    }
    if (offset < 0 || offset > size)
        return -1;
    input->at = offset;
    return offset;
}
}  // namespace

namespace {
// Opens the stream at the request's address; nothing, with `failed` saying why, when it does not
// open. The interrupt's deadline bounds the wait.
std::unique_ptr<AVFormatContext, FormatCloser> OpenStream(const StreamGrabRequest& request, Interrupt& interrupt,
                                                          StreamStill& failed)
{
    AVFormatContext* opened = avformat_alloc_context();
    if (!opened) {
        failed = Fail(Status::Failed, QStringLiteral("out of memory"));
        return nullptr;
    }
    opened->interrupt_callback = {InterruptCallback, &interrupt};
    AVDictionary* options = nullptr;
    av_dict_set(&options, "rtsp_transport", request.udp ? "udp" : "tcp", 0);
    av_dict_set(&options, "allowed_media_types", "video", 0);
    // Damaged packets are dropped rather than decoded into a smeared picture.
    av_dict_set(&options, "fflags", "discardcorrupt", 0);
    const QByteArray url = request.address.toUtf8();
    const int error = avformat_open_input(&opened, url.constData(), av_find_input_format("rtsp"), &options);
    av_dict_free(&options);
    if (error >= 0)
        return std::unique_ptr<AVFormatContext, FormatCloser>(opened);
    // avformat_open_input freed the context.
    if (interrupt.abandon->load())
        failed = Fail(Status::Abandoned);
    else if (interrupt.timedOut || error == AVERROR(ETIMEDOUT))
        failed = Fail(Status::NoAnswer);
    else if (error == AVERROR(ECONNREFUSED))
        failed = Fail(Status::ConnectionRefused);
    else if (error == AVERROR_HTTP_UNAUTHORIZED)
        failed = Fail(Status::SignInRefused);
    else if (error == AVERROR(EIO) && !HostResolves(request.address))
        failed = Fail(Status::HostNotFound, QUrl(request.address).host());
    else
        failed = Fail(Status::Failed, ErrorText(error));
    return nullptr;
}

// A decoded frame as a picture to draw, converted by a context kept from frame to frame.
QImage FrameImage(const AVFrame& frame, std::unique_ptr<SwsContext, ScaleFreer>& scale)
{
    // The context is freed by the call when it cannot serve this frame.
    SwsContext* const earlier = scale.release();
    scale.reset(sws_getCachedContext(earlier, frame.width, frame.height, static_cast<AVPixelFormat>(frame.format),
                                     frame.width, frame.height, AV_PIX_FMT_RGB32, SWS_BILINEAR, nullptr, nullptr,
                                     nullptr));
    if (!scale)
        return {};
    QImage image(frame.width, frame.height, QImage::Format_RGB32);
    if (image.isNull())
        return {};
    uint8_t* const rows[4] = {image.bits(), nullptr, nullptr, nullptr};
    const int strides[4] = {static_cast<int>(image.bytesPerLine()), 0, 0, 0};
    if (sws_scale(scale.get(), frame.data, frame.linesize, 0, frame.height, rows, strides) != frame.height)
        return {};
    return image;
}
}  // namespace

StreamStill GrabStreamStill(const StreamGrabRequest& request, const std::atomic<bool>& abandon,
                            const std::function<void(StreamStep)>& step)
{
    InstallFfmpegLog();
    Interrupt interrupt;
    interrupt.abandon = &abandon;
    interrupt.deadlineMs = SteadyMs() + request.deadlineMs;
    step(StreamStep::Connecting);
    StreamStill failed;
    const auto format = OpenStream(request, interrupt, failed);
    if (!format)
        return failed;
    return ReadKeyframe(*format, interrupt, request.maxBytes, true, step);
}

LivePacer::LivePacer(double streamFps)
{
    const double fps = streamFps > 0 && streamFps < kMostFps ? streamFps : kMostFps;
    intervalMs_ = qMax<qint64>(1, qRound64(1000.0 / fps));
}

bool LivePacer::due(qint64 nowMs)
{
    // A frame up to a quarter of an interval early is the stream's own jitter, not a faster rate:
    // it is shown, and the next is due a whole interval after this one was due, so that over any
    // stretch no more than one frame per interval is shown. A late frame moves the count on, so
    // that no burst catches up after it: two shown frames are at least half an interval apart.
    const qint64 early = intervalMs_ / 4;
    if (nextDueMs_ && nowMs < *nextDueMs_ - early)
        return false;
    nextDueMs_ = nextDueMs_ ? qMax(*nextDueMs_ + intervalMs_, nowMs + intervalMs_ - early) : nowMs + intervalMs_;
    return true;
}

namespace {
// What a live stream's packets are read with (av_read_frame, but for an input read in pieces):
// 0 a packet, kPieceEnded when a piece of the input ended (the picture gathered is whole), below
// 0 the end of the input.
using ReadPacket = std::function<int(AVPacket*)>;
constexpr int kPieceEnded = 1;

// The live loop: every frame decoded from the first keyframe on, paced, until `abandon` or the
// input ends. `input` opens the decoder and is not read after. A request's deadline of 0 sets none.
StreamStill RunLive(AVFormatContext& input, const ReadPacket& read, Interrupt& interrupt,
                    const StreamGrabRequest& request, const std::atomic<bool>& abandon, const LiveStreamCalls& calls)
{
    StreamStill failed;
    // Every frame is decoded once a keyframe came; until then none, for the same reason as a still.
    std::optional<VideoDecoder> decoder = OpenDecoder(input, AVDISCARD_DEFAULT, failed);
    if (!decoder)
        return failed;
    const AVStream& stream = *input.streams[decoder->video];
    const AVRational timeBase = stream.time_base;
    const AVRational rate = stream.avg_frame_rate.num > 0 ? stream.avg_frame_rate : stream.r_frame_rate;
    LivePacer pacer(rate.num > 0 && rate.den > 0 ? av_q2d(rate) : 0.0);
    LiveClock clock;
    const auto now = [&calls] { return calls.nowMs ? calls.nowMs() : SteadyMs(); };
    AVCodecContext* const codec = decoder->codec.get();
    Packet packet(av_packet_alloc());
    std::unique_ptr<AVFrame, FrameFreer> frame(av_frame_alloc());
    if (!packet || !frame)
        return Fail(Status::Failed, QStringLiteral("out of memory"));
    std::unique_ptr<SwsContext, ScaleFreer> scale;
    calls.step(StreamStep::WaitingForKeyframe);
    qint64 bytes = 0;
    qint64 bytesBeforeKeyframe = 0;
    bool keyed = false;  // a keyframe came: the frames after it decode whole
    bool framesCame = false;
    const auto ended = [&](int error) {
        StreamStill still;
        if (abandon.load())
            still = Fail(Status::Abandoned);
        else if (interrupt.timedOut)
            still = Fail(framesCame ? Status::NoAnswer : Status::NoKeyframe);
        else if (error == AVERROR_EOF)
            still = Fail(Status::Ended);
        else
            still = Fail(Status::Ended, ErrorText(error));
        still.bytesRead = bytes;
        still.codec = decoder->codecName;
        return still;
    };
    // The picture being gathered: its first packet (whose properties it takes) and its bytes.
    Packet first(av_packet_alloc());
    if (!first)
        return Fail(Status::Failed, QStringLiteral("out of memory"));
    QByteArray picture;
    // Decodes the picture gathered and hands on what it gives; a failure that ends the stream.
    const auto decode = [&]() -> std::optional<StreamStill> {
        const Packet joined = JoinedPacket(picture, *first);
        if (!joined)
            return Fail(Status::Failed, QStringLiteral("out of memory"));
        if (const int error = avcodec_send_packet(codec, joined.get()); error < 0 && error != AVERROR(EAGAIN)) {
            if (codec->width > 0 && OverLimit(QSize(codec->width, codec->height)))
                return TooLargeStill(QSize(codec->width, codec->height), decoder->codecName);
            return std::nullopt;  // damaged: the frames that need it come out damaged and are passed over
        }
        while (avcodec_receive_frame(codec, frame.get()) >= 0) {
            if (frame->decode_error_flags != 0 || (frame->flags & AV_FRAME_FLAG_CORRUPT) != 0) {
                // Smeared: wait for the next keyframe rather than show what depends on it.
                av_frame_unref(frame.get());
                avcodec_flush_buffers(codec);
                keyed = false;
                calls.step(StreamStep::WaitingForKeyframe);
                return std::nullopt;
            }
            if (OverLimit(QSize(frame->width, frame->height)))
                return TooLargeStill(QSize(frame->width, frame->height), decoder->codecName);
            if (!framesCame) {
                framesCame = true;
                if (request.deadlineMs > 0)
                    interrupt.deadlineMs = SteadyMs() + request.deadlineMs;
            }
            if (calls.stillWanted()) {
                StreamStill still = Encode(*frame);
                still.codec = decoder->codecName;
                still.bytesRead = bytes;
                calls.still(still);
            }
            if (calls.sleepUntilMs && frame->best_effort_timestamp != AV_NOPTS_VALUE)
                calls.sleepUntilMs(
                    clock.dueMs(av_rescale_q(frame->best_effort_timestamp, timeBase, AVRational{1, 1000}), now()));
            if (pacer.due(now())) {
                const QImage image = FrameImage(*frame, scale);
                if (!image.isNull())
                    calls.frame(image);
            }
            av_frame_unref(frame.get());
        }
        return std::nullopt;
    };
    while (true) {
        av_packet_unref(packet.get());
        const int got = read(packet.get());
        if (got < 0)
            return ended(got);
        if (got == kPieceEnded) {
            if (!picture.isEmpty()) {
                if (std::optional<StreamStill> failure = decode())
                    return *failure;
                picture.clear();
            }
            continue;
        }
        if (packet->stream_index != decoder->video)
            continue;
        bytes += packet->size;
        if (framesCame && request.deadlineMs > 0)  // a stream that stalls once it ran ends as one that never answered
            interrupt.deadlineMs = SteadyMs() + request.deadlineMs;
        const bool keyframe = (packet->flags & AV_PKT_FLAG_KEY) != 0;
        if (keyframe) {
            if (const auto declared = KeyframeTooLarge(*decoder, *packet))
                return TooLargeStill(*declared, decoder->codecName);
        }
        if (!picture.isEmpty() && ContinuesPicture(*decoder, *first, *packet)) {
            picture.append(reinterpret_cast<const char*>(packet->data), packet->size);
            if (picture.size() > request.maxBytes) {
                StreamStill still = Fail(Status::TooManyBytes);
                still.bytesRead = bytes;
                return still;
            }
            continue;
        }
        // The next picture begins: the one gathered is whole.
        if (!picture.isEmpty()) {
            if (std::optional<StreamStill> failure = decode())
                return *failure;
            picture.clear();
        }
        if (!keyed) {
            bytesBeforeKeyframe += packet->size;
            if (bytesBeforeKeyframe > request.maxBytes) {
                StreamStill still = Fail(Status::TooManyBytes);
                still.bytesRead = bytes;
                return still;
            }
            // A keyframe joined in its middle cannot decode whole: the next one is waited for.
            if (!keyframe || MidPicture(*decoder, *packet))
                continue;
            keyed = true;
            bytesBeforeKeyframe = 0;
            calls.step(StreamStep::Decoding);
        }
        av_packet_unref(first.get());
        if (av_packet_ref(first.get(), packet.get()) < 0)
            return Fail(Status::Failed, QStringLiteral("out of memory"));
        picture = QByteArray(reinterpret_cast<const char*>(packet->data), packet->size);
    }
}

// An input read through `read` (and `seek`, when it can) rather than from an address: the
// context it reads with, which must outlive the input, and the input once opened.
struct CustomInput {
    std::unique_ptr<AVIOContext, IoFreer> io;
    std::unique_ptr<AVFormatContext, FormatCloser> format;
};

// Opens the input; on failure `format` is null and `failed` says why.
CustomInput OpenCustomInput(void* opaque, int (*read)(void*, uint8_t*, int), int64_t (*seek)(void*, int64_t, int),
                            Interrupt& interrupt, const AVInputFormat* known, StreamStill& failed)
{
    CustomInput input;
    constexpr int kBufferBytes = 64 * 1024;
    auto* buffer = static_cast<unsigned char*>(av_malloc(kBufferBytes));
    if (buffer)
        input.io.reset(avio_alloc_context(buffer, kBufferBytes, 0, opaque, read, nullptr, seek));
    AVFormatContext* opened = input.io ? avformat_alloc_context() : nullptr;
    if (!opened) {
        if (!input.io)
            av_free(buffer);
        failed = Fail(Status::Failed, QStringLiteral("out of memory"));
        return input;
    }
    opened->pb = input.io.get();
    opened->flags |= AVFMT_FLAG_CUSTOM_IO;
    opened->interrupt_callback = {InterruptCallback, &interrupt};
    // Damaged packets are not dropped here: segments joined end to end break the transport
    // stream's counters where one was skipped, and the picture that begins the next is whole.
    if (const int error = avformat_open_input(&opened, nullptr, known, nullptr); error < 0) {
        failed = Fail(interrupt.abandon->load() ? Status::Abandoned : Status::Failed,
                      QStringLiteral("the segment is not a video: ") + ErrorText(error));
        return input;
    }
    input.format.reset(opened);
    return input;
}
}  // namespace

StreamStill RunLiveStream(const StreamGrabRequest& request, const std::atomic<bool>& abandon,
                          const LiveStreamCalls& calls)
{
    InstallFfmpegLog();
    Interrupt interrupt;
    interrupt.abandon = &abandon;
    interrupt.deadlineMs = SteadyMs() + request.deadlineMs;
    calls.step(StreamStep::Connecting);
    StreamStill failed;
    const auto format = OpenStream(request, interrupt, failed);
    if (!format)
        return failed;
    return RunLive(
        *format, [&format](AVPacket* packet) { return av_read_frame(format.get(), packet); }, interrupt, request,
        abandon, calls);
}

StreamStill RunLiveFeed(LiveFeed& feed, const StreamGrabRequest& request, const std::atomic<bool>& abandon,
                        const LiveStreamCalls& calls)
{
    InstallFfmpegLog();
    Interrupt interrupt;
    interrupt.abandon = &abandon;
    calls.step(StreamStep::Connecting);
    // Each segment is read from memory on its own, so that its last picture comes out as it ends
    // rather than once the next one begins, and a segment skipped breaks nothing of the next.
    struct Segment {
        QByteArray bytes;
        MemoryInput memory;
        CustomInput input;
        int video = -1;
    };
    StreamStill failed;
    const auto open = [&feed, &interrupt, &failed]() -> std::unique_ptr<Segment> {
        std::optional<QByteArray> bytes = feed.take();
        if (!bytes) {
            failed = Fail(Status::Ended);
            return nullptr;
        }
        auto segment = std::make_unique<Segment>();
        segment->bytes = std::move(*bytes);
        segment->memory = {&segment->bytes, 0};
        segment->input = OpenCustomInput(&segment->memory, ReadMemory, SeekMemory, interrupt, nullptr, failed);
        if (!segment->input.format)
            return nullptr;
        segment->video = av_find_best_stream(segment->input.format.get(), AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
        return segment;
    };
    std::unique_ptr<Segment> current = open();
    if (!current)
        return abandon.load() ? Fail(Status::Abandoned) : failed;
    AVFormatContext& first = *current->input.format;
    const int video = current->video;
    const AVRational timeBase = video >= 0 ? first.streams[video]->time_base : AVRational{1, 90000};
    const ReadPacket read = [&](AVPacket* packet) {
        if (!current && !(current = open()))
            return failed.status == Status::Ended ? AVERROR_EOF : AVERROR_INVALIDDATA;
        if (av_read_frame(current->input.format.get(), packet) < 0) {
            current.reset();
            return kPieceEnded;
        }
        if (current->video < 0 || packet->stream_index != current->video) {
            packet->stream_index = -1;
            return 0;
        }
        av_packet_rescale_ts(packet, current->input.format->streams[current->video]->time_base, timeBase);
        packet->stream_index = video;
        return 0;
    };
    StreamGrabRequest unbounded = request;
    unbounded.deadlineMs = 0;
    LiveStreamCalls paced = calls;
    paced.sleepUntilMs = [&feed](qint64 steadyMs) { feed.sleepUntil(steadyMs); };
    const StreamStill ended = RunLive(first, read, interrupt, unbounded, abandon, paced);
    // A segment that did not open ended it: its reason, not the end's.
    return ended.status == Status::Ended && failed.status != Status::Ended ? failed : ended;
}

qint64 LiveClock::dueMs(qint64 frameMs, qint64 nowMs)
{
    if (offsetMs_) {
        const qint64 due = frameMs + *offsetMs_;
        if (due >= nowMs - kMostLateMs && due <= nowMs + kMostAheadMs)
            return due;
    }
    offsetMs_ = nowMs - frameMs;
    return nowMs;
}

bool LiveFrameBox::put(const QImage& frame)
{
    const std::lock_guard<std::mutex> lock(lock_);
    frame_ = frame;
    if (told_)
        return false;  // the call on its way takes this newer frame instead
    told_ = true;
    return true;
}

QImage LiveFrameBox::take()
{
    QImage frame;
    const std::lock_guard<std::mutex> lock(lock_);
    frame.swap(frame_);
    told_ = false;
    return frame;
}

int LiveFeed::push(QByteArray piece)
{
    int dropped = 0;
    {
        const std::lock_guard<std::mutex> lock(lock_);
        pieces_.push_back(std::move(piece));
        // The first piece may be read in part already: the ones after it go first.
        const auto waitingBytes = [this] {
            qint64 bytes = 0;
            for (const QByteArray& piece : pieces_)
                bytes += piece.size();
            return bytes;
        };
        while (pieces_.size() > 1 && (pieces_.size() > size_t(kMostWaiting) || waitingBytes() > mostWaitingBytes_)) {
            pieces_.pop_front();
            ++dropped;
        }
    }
    changed_.notify_all();
    return dropped;
}

void LiveFeed::finish()
{
    {
        const std::lock_guard<std::mutex> lock(lock_);
        finished_ = true;
    }
    changed_.notify_all();
}

void LiveFeed::cancel()
{
    {
        const std::lock_guard<std::mutex> lock(lock_);
        cancelled_ = true;
    }
    changed_.notify_all();
}

std::optional<QByteArray> LiveFeed::take()
{
    std::unique_lock<std::mutex> lock(lock_);
    changed_.wait(lock, [this] { return cancelled_ || finished_ || !pieces_.empty(); });
    if (cancelled_ || pieces_.empty())
        return std::nullopt;
    QByteArray piece = std::move(pieces_.front());
    pieces_.pop_front();
    return piece;
}

void LiveFeed::sleepUntil(qint64 steadyMs)
{
    std::unique_lock<std::mutex> lock(lock_);
    const qint64 wait = steadyMs - SteadyMs();
    if (wait > 0)
        changed_.wait_for(lock, std::chrono::milliseconds(wait), [this] { return cancelled_; });
}

StreamStill DecodeFirstKeyframe(const QByteArray& segment, const std::atomic<bool>& abandon)
{
    InstallFfmpegLog();
    Interrupt interrupt;
    interrupt.abandon = &abandon;
    MemoryInput memory{&segment, 0};
    StreamStill failed;
    const CustomInput input = OpenCustomInput(&memory, ReadMemory, SeekMemory, interrupt, nullptr, failed);
    if (!input.format)
        return failed;
    return ReadKeyframe(*input.format, interrupt, segment.size() + 1, false, [](StreamStep) {});
}
