#include "StreamGrab.h"

#include <QUrl>
#include <chrono>
#include <cstring>
#include <memory>
#include <netdb.h>

#include "DIBSection.h"
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

// Reads from an open input until its first keyframe and decodes it. `live`: the input is a
// stream, whose packet read after an error may be a keyframe cut off (FFmpeg hands what its
// parser held when the input ends); the keyframe is taken only once the packet after it came.
StreamStill ReadKeyframe(AVFormatContext& format, const Interrupt& interrupt, qint64 maxBytes, bool live,
                         const std::function<void(StreamStep)>& step)
{
    const int video = av_find_best_stream(&format, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
    if (video < 0)
        return Fail(Status::NoVideo);
    const AVCodecParameters& parameters = *format.streams[video]->codecpar;
    const QString codecName = QString::fromLatin1(avcodec_get_name(parameters.codec_id));
    const AVCodec* decoder = avcodec_find_decoder(parameters.codec_id);
    if (!decoder) {
        StreamStill still = Fail(Status::CodecNotSupported);
        still.codec = codecName;
        return still;
    }
    const auto tooLarge = [&codecName](const QSize& size) {
        StreamStill still = Fail(Status::TooLarge);
        still.size = size;
        still.codec = codecName;
        return still;
    };
    const bool h264 = parameters.codec_id == AV_CODEC_ID_H264;
    if (h264 && parameters.extradata_size > 0) {
        const auto declared = H264DeclaredSize(
            QByteArray::fromRawData(reinterpret_cast<const char*>(parameters.extradata), parameters.extradata_size));
        if (declared && OverLimit(*declared))
            return tooLarge(*declared);
    }
    if (OverLimit(QSize(parameters.width, parameters.height)))
        return tooLarge(QSize(parameters.width, parameters.height));

    std::unique_ptr<AVCodecContext, CodecFreer> codec(avcodec_alloc_context3(decoder));
    if (!codec || avcodec_parameters_to_context(codec.get(), &parameters) < 0)
        return Fail(Status::Failed, QStringLiteral("the decoder could not be set up"));
    codec->thread_count = 1;  // one picture: threads would only wait for one another
    codec->skip_frame = AVDISCARD_NONKEY;
    codec->max_pixels = kMaxPicturePixels;
    if (const int error = avcodec_open2(codec.get(), decoder, nullptr); error < 0)
        return Fail(Status::Failed,
                    QStringLiteral("the %1 decoder refused the stream: %2").arg(codecName, ErrorText(error)));

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
        if (h264) {
            const auto declared =
                H264DeclaredSize(QByteArray::fromRawData(reinterpret_cast<const char*>(key->data), key->size));
            if (declared && OverLimit(*declared))
                return tooLarge(*declared);
        }
        // The picture may come in several packets (one per slice). It is whole once a packet of
        // the next picture comes; a stream that ends before that has cut it off.
        QByteArray picture(reinterpret_cast<const char*>(key->data), key->size);
        while (true) {
            if (const int error = readVideo(next); error < 0) {
                if (live)
                    return readFailed(error, Status::CutOff);
                break;
            }
            const bool samePicture = h264
                ? H264ContinuesPicture(QByteArray::fromRawData(reinterpret_cast<const char*>(next->data), next->size))
                : key->pts != AV_NOPTS_VALUE && next->pts == key->pts;
            if (!samePicture)
                break;
            picture.append(reinterpret_cast<const char*>(next->data), next->size);
            if (bytes > maxBytes) {
                StreamStill still = Fail(Status::TooManyBytes);
                still.bytesRead = bytes;
                return still;
            }
        }
        if (picture.size() != key->size) {
            Packet joined(av_packet_alloc());
            if (!joined || av_new_packet(joined.get(), static_cast<int>(picture.size())) < 0)
                return Fail(Status::Failed, QStringLiteral("out of memory"));
            std::memcpy(joined->data, picture.constData(), static_cast<size_t>(picture.size()));
            av_packet_copy_props(joined.get(), key.get());
            key = std::move(joined);
        }

        step(StreamStep::Decoding);
        int error = avcodec_send_packet(codec.get(), key.get());
        if (error >= 0)
            error = avcodec_send_packet(codec.get(), nullptr);  // the one picture, without waiting for more
        if (error >= 0)
            error = avcodec_receive_frame(codec.get(), frame.get());
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
        avcodec_flush_buffers(codec.get());  // drained: ready for the next keyframe
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

StreamStill GrabStreamStill(const StreamGrabRequest& request, const std::atomic<bool>& abandon,
                            const std::function<void(StreamStep)>& step)
{
    Interrupt interrupt;
    interrupt.abandon = &abandon;
    interrupt.deadlineMs = SteadyMs() + request.deadlineMs;
    step(StreamStep::Connecting);
    AVFormatContext* opened = avformat_alloc_context();
    if (!opened)
        return Fail(Status::Failed, QStringLiteral("out of memory"));
    opened->interrupt_callback = {InterruptCallback, &interrupt};
    AVDictionary* options = nullptr;
    av_dict_set(&options, "rtsp_transport", request.udp ? "udp" : "tcp", 0);
    av_dict_set(&options, "allowed_media_types", "video", 0);
    // Damaged packets are dropped rather than decoded into a smeared picture.
    av_dict_set(&options, "fflags", "discardcorrupt", 0);
    const QByteArray url = request.address.toUtf8();
    const int error = avformat_open_input(&opened, url.constData(), av_find_input_format("rtsp"), &options);
    av_dict_free(&options);
    if (error < 0) {
        // avformat_open_input freed the context.
        if (abandon.load())
            return Fail(Status::Abandoned);
        if (interrupt.timedOut || error == AVERROR(ETIMEDOUT))
            return Fail(Status::NoAnswer);
        if (error == AVERROR(ECONNREFUSED))
            return Fail(Status::ConnectionRefused);
        if (error == AVERROR_HTTP_UNAUTHORIZED)
            return Fail(Status::SignInRefused);
        if (error == AVERROR(EIO) && !HostResolves(request.address))
            return Fail(Status::HostNotFound, QUrl(request.address).host());
        return Fail(Status::Failed, ErrorText(error));
    }
    const std::unique_ptr<AVFormatContext, FormatCloser> format(opened);
    return ReadKeyframe(*format, interrupt, request.maxBytes, true, step);
}

StreamStill DecodeFirstKeyframe(const QByteArray& segment, const std::atomic<bool>& abandon)
{
    Interrupt interrupt;
    interrupt.abandon = &abandon;
    MemoryInput input{&segment, 0};
    constexpr int kBufferBytes = 64 * 1024;
    auto* buffer = static_cast<unsigned char*>(av_malloc(kBufferBytes));
    if (!buffer)
        return Fail(Status::Failed, QStringLiteral("out of memory"));
    std::unique_ptr<AVIOContext, IoFreer> io(
        avio_alloc_context(buffer, kBufferBytes, 0, &input, ReadMemory, nullptr, SeekMemory));
    if (!io) {
        av_free(buffer);
        return Fail(Status::Failed, QStringLiteral("out of memory"));
    }
    AVFormatContext* opened = avformat_alloc_context();
    if (!opened)
        return Fail(Status::Failed, QStringLiteral("out of memory"));
    opened->pb = io.get();
    opened->flags |= AVFMT_FLAG_CUSTOM_IO;
    opened->interrupt_callback = {InterruptCallback, &interrupt};
    if (const int error = avformat_open_input(&opened, nullptr, nullptr, nullptr); error < 0)
        return Fail(abandon.load() ? Status::Abandoned : Status::Failed,
                    QStringLiteral("the segment is not a video: ") + ErrorText(error));
    const std::unique_ptr<AVFormatContext, FormatCloser> format(opened);
    return ReadKeyframe(*format, interrupt, segment.size() + 1, false, [](StreamStep) {});
}
