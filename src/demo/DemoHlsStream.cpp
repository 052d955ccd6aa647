#include "DemoHlsStream.h"

#include <QImage>
#include <QPainter>
#include <memory>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libswscale/swscale.h>
}

namespace {
struct CodecFreer {
    void operator()(AVCodecContext* c) const { avcodec_free_context(&c); }
};
struct FormatFreer {
    void operator()(AVFormatContext* f) const { avformat_free_context(f); }
};
struct FrameFreer {
    void operator()(AVFrame* f) const { av_frame_free(&f); }
};
struct PacketFreer {
    void operator()(AVPacket* p) const { av_packet_free(&p); }
};
struct ScaleFreer {
    void operator()(SwsContext* s) const { sws_freeContext(s); }
};

// A harbour at dusk with the time of the segment on it.
QImage DrawPicture(const QDateTime& at)
{
    QImage picture(320, 240, QImage::Format_RGB32);
    QPainter painter(&picture);
    QLinearGradient sky(0, 0, 0, 150);
    sky.setColorAt(0, QColor(40, 60, 120));
    sky.setColorAt(1, QColor(230, 140, 80));
    painter.fillRect(0, 0, 320, 150, sky);
    painter.fillRect(0, 150, 320, 90, QColor(20, 50, 80));
    // A boat crossing the harbour once a minute.
    const int x = static_cast<int>(at.time().second() * 320 / 60);
    painter.fillRect(x, 160, 40, 12, QColor(200, 200, 190));
    painter.setPen(Qt::white);
    painter.drawText(QRect(0, 200, 320, 40), Qt::AlignCenter, at.toString(QStringLiteral("HH:mm:ss")));
    return picture;
}

int WritePacket(void* opaque, uint8_t* data, int size)  // FFmpeg 5 does not say const
{
    static_cast<QByteArray*>(opaque)->append(reinterpret_cast<const char*>(data), size);
    return size;
}
}  // namespace

QByteArray EncodeKeyframeSegment(const QImage& picture, qint64 sequence)
{
    const AVCodec* encoder = avcodec_find_encoder(AV_CODEC_ID_H264);
    if (!encoder)
        return {};
    std::unique_ptr<AVCodecContext, CodecFreer> codec(avcodec_alloc_context3(encoder));
    codec->width = picture.width();
    codec->height = picture.height();
    codec->pix_fmt = AV_PIX_FMT_YUV420P;
    codec->time_base = {1, 90000};
    codec->gop_size = 1;
    codec->max_b_frames = 0;
    codec->thread_count = 1;
    codec->log_level_offset = 32;  // the encoder's statistics at every segment are not for the user
    if (avcodec_open2(codec.get(), encoder, nullptr) < 0)
        return {};
    std::unique_ptr<AVFrame, FrameFreer> frame(av_frame_alloc());
    frame->format = AV_PIX_FMT_YUV420P;
    frame->width = picture.width();
    frame->height = picture.height();
    if (av_frame_get_buffer(frame.get(), 0) < 0)
        return {};
    std::unique_ptr<SwsContext, ScaleFreer> scale(sws_getContext(picture.width(), picture.height(), AV_PIX_FMT_BGRA,
                                                                 picture.width(), picture.height(), AV_PIX_FMT_YUV420P,
                                                                 SWS_BILINEAR, nullptr, nullptr, nullptr));
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB32);
    const uint8_t* source[1] = {rgb.constBits()};
    const int sourceStride[1] = {static_cast<int>(rgb.bytesPerLine())};
    sws_scale(scale.get(), source, sourceStride, 0, rgb.height(), frame->data, frame->linesize);
    frame->pts = sequence * 90000;
    frame->pict_type = AV_PICTURE_TYPE_I;

    QByteArray segment;
    AVFormatContext* made = nullptr;
    if (avformat_alloc_output_context2(&made, nullptr, "mpegts", nullptr) < 0)
        return {};
    std::unique_ptr<AVFormatContext, FormatFreer> format(made);
    constexpr int kBufferBytes = 32 * 1024;
    auto* buffer = static_cast<unsigned char*>(av_malloc(kBufferBytes));
    AVIOContext* io = avio_alloc_context(buffer, kBufferBytes, 1, &segment, nullptr, WritePacket, nullptr);
    format->pb = io;
    format->flags |= AVFMT_FLAG_CUSTOM_IO;
    AVStream* stream = avformat_new_stream(format.get(), nullptr);
    avcodec_parameters_from_context(stream->codecpar, codec.get());
    stream->time_base = codec->time_base;
    bool ok = avformat_write_header(format.get(), nullptr) >= 0;
    std::unique_ptr<AVPacket, PacketFreer> packet(av_packet_alloc());
    ok = ok && avcodec_send_frame(codec.get(), frame.get()) >= 0 && avcodec_send_frame(codec.get(), nullptr) >= 0;
    while (ok && avcodec_receive_packet(codec.get(), packet.get()) >= 0) {
        av_packet_rescale_ts(packet.get(), codec->time_base, stream->time_base);
        packet->stream_index = stream->index;
        ok = av_interleaved_write_frame(format.get(), packet.get()) >= 0;
    }
    ok = ok && av_write_trailer(format.get()) >= 0;
    avio_flush(io);
    av_freep(&io->buffer);
    avio_context_free(&io);
    return ok ? segment : QByteArray();
}

void DemoHlsStream::catchUp(const QDateTime& now)
{
    const qint64 newest = now.toSecsSinceEpoch() / kSegmentSeconds;
    if (newest == newest_)
        return;
    // Only the segments the playlist will name are made: a demo left alone costs nothing.
    for (qint64 n = qMax(newest_ + 1, newest - kWindow + 1); n <= newest; ++n) {
        segments_.append(
            {n, EncodeKeyframeSegment(DrawPicture(QDateTime::fromSecsSinceEpoch(n * kSegmentSeconds)), n)});
        ++encoded_;
    }
    while (segments_.size() > kWindow)
        segments_.removeFirst();
    newest_ = newest;
}

QByteArray DemoHlsStream::playlist(const QDateTime& now)
{
    catchUp(now);
    QByteArray text = "#EXTM3U\n#EXT-X-VERSION:3\n#EXT-X-TARGETDURATION:" + QByteArray::number(kSegmentSeconds) +
        "\n#EXT-X-MEDIA-SEQUENCE:" + QByteArray::number(segments_.first().first) + "\n";
    for (const auto& [n, bytes] : segments_)
        text += "#EXTINF:" + QByteArray::number(kSegmentSeconds) + ".0,\nseg" + QByteArray::number(n) + ".ts\n";
    return text;
}

QByteArray DemoHlsStream::segment(qint64 n) const
{
    for (const auto& [number, bytes] : segments_)
        if (number == n)
            return bytes;
    return {};
}
