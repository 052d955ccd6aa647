#include "FakeRtspServer.h"

#include <QTcpSocket>

namespace {
class BitWriter {
public:
    void bits(quint32 value, int count)
    {
        for (int i = count - 1; i >= 0; --i)
            bit((value >> i) & 1U);
    }
    void bit(quint32 value)
    {
        if (used_ % 8 == 0)
            bytes_ += '\0';
        if (value)
            bytes_[bytes_.size() - 1] = static_cast<char>(bytes_.back() | (0x80 >> (used_ % 8)));
        ++used_;
    }
    void ue(quint32 value)
    {
        const quint64 code = quint64(value) + 1;
        int length = 0;
        while ((code >> length) > 1)
            ++length;
        bits(0, length);
        bits(static_cast<quint32>(code), length + 1);
    }
    // The RBSP's stop bit and alignment, then emulation prevention.
    QByteArray finish()
    {
        bit(1);
        QByteArray out;
        int zeros = 0;
        for (const char c : bytes_) {
            if (zeros >= 2 && static_cast<unsigned char>(c) <= 3) {
                out += '\x03';
                zeros = 0;
            }
            zeros = c == 0 ? zeros + 1 : 0;
            out += c;
        }
        return out;
    }

private:
    QByteArray bytes_;
    int used_ = 0;
};

// A picture parameter set to go with the SPS.
QByteArray MakePps()
{
    BitWriter w;
    w.ue(0);       // pps id
    w.ue(0);       // sps id
    w.bits(0, 2);  // entropy coding, bottom field pic order
    w.ue(0);       // slice groups - 1
    w.ue(0);
    w.ue(0);           // ref idx defaults
    w.bits(0, 3);      // weighted pred, bipred idc
    w.ue(0);           // pic init qp (se 0)
    w.ue(0);           // pic init qs
    w.ue(0);           // chroma qp offset
    w.bits(0b100, 3);  // deblocking control, constrained intra, redundant pic cnt
    return QByteArray("\x68", 1) + w.finish();
}

// The start of an IDR slice (first macroblock 0, an I slice, PPS 0, frame 0, idr id 0) and
// filler that would be its macroblocks.
QByteArray IdrSliceStart(int fillBytes)
{
    BitWriter w;
    w.ue(0);
    w.ue(7);
    w.ue(0);
    w.bits(0, 4);
    w.ue(0);
    QByteArray slice = w.finish();
    return slice + QByteArray(fillBytes, '\x5a');
}
}  // namespace

QByteArray MakeH264Sps(const QSize& size, bool highProfile)
{
    const int widthMbs = (size.width() + 15) / 16;
    const int heightMbs = (size.height() + 15) / 16;
    BitWriter w;
    w.bits(highProfile ? 100 : 66, 8);
    w.bits(0, 8);   // constraint flags
    w.bits(40, 8);  // level 4
    w.ue(0);        // sps id
    if (highProfile) {
        w.ue(1);  // 4:2:0
        w.ue(0);
        w.ue(0);
        w.bit(0);
        w.bit(0);  // no scaling matrix
    }
    w.ue(0);  // log2 max frame num - 4
    w.ue(2);  // picture order count type 2
    w.ue(1);  // reference frames
    w.bit(0);
    w.ue(static_cast<quint32>(widthMbs - 1));
    w.ue(static_cast<quint32>(heightMbs - 1));
    w.bit(1);  // frames only
    w.bit(1);  // direct 8x8
    const int cropRight = widthMbs * 16 - size.width();
    const int cropBottom = heightMbs * 16 - size.height();
    const bool crop = cropRight != 0 || cropBottom != 0;
    w.bit(crop ? 1 : 0);
    if (crop) {
        // 4:2:0: in units of two pixels
        w.ue(0);
        w.ue(static_cast<quint32>(cropRight / 2));
        w.ue(0);
        w.ue(static_cast<quint32>(cropBottom / 2));
    }
    w.bit(0);  // no VUI
    return QByteArray("\x67", 1) + w.finish();
}

QByteArray MakeHevcSps(const QSize& size, int subLayers)
{
    const auto profileTier = [](BitWriter& w) {
        w.bits(1, 8);            // profile space 0, main tier, Main profile
        w.bits(0x60000000, 32);  // compatible with Main and Main 10
        w.bits(0b1001, 4);       // progressive, frame only
        w.bits(0, 32);
        w.bits(0, 12);  // reserved, inbld
    };
    BitWriter w;
    w.bits(0, 4);  // vps id
    w.bits(static_cast<quint32>(subLayers - 1), 3);
    w.bit(1);
    profileTier(w);
    w.bits(93, 8);  // level 3.1
    for (int i = 0; i < subLayers - 1; ++i)
        w.bits(0b11, 2);  // profile and level present
    if (subLayers > 1)
        for (int i = subLayers - 1; i < 8; ++i)
            w.bits(0, 2);
    for (int i = 0; i < subLayers - 1; ++i) {
        profileTier(w);
        w.bits(90, 8);
    }
    w.ue(0);  // sps id
    w.ue(1);  // 4:2:0
    // Whole coding blocks of 8, cut to the size by the conformance window (in two-pixel units).
    const int width = (size.width() + 7) / 8 * 8;
    const int height = (size.height() + 7) / 8 * 8;
    w.ue(static_cast<quint32>(width));
    w.ue(static_cast<quint32>(height));
    const bool crop = width != size.width() || height != size.height();
    w.bit(crop ? 1 : 0);
    if (crop) {
        w.ue(0);
        w.ue(static_cast<quint32>((width - size.width()) / 2));
        w.ue(0);
        w.ue(static_cast<quint32>((height - size.height()) / 2));
    }
    w.ue(0);  // bit depth, luma
    w.ue(0);  // bit depth, chroma
    return QByteArray("\x42\x01", 2) + w.finish();
}

FakeRtspServer::FakeRtspServer(Mode mode, QObject* parent) : QObject(parent), mode_(mode)
{
    server_.listen(QHostAddress::LocalHost, 0);
    connect(&server_, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket* socket = server_.nextPendingConnection()) {
            ++connections_;
            socket->setParent(this);
            connect(socket, &QTcpSocket::readyRead, this, [this, socket] { Read(socket); });
        }
    });
}

QString FakeRtspServer::url() const
{
    return QStringLiteral("rtsp://127.0.0.1:%1/cam").arg(server_.serverPort());
}

void FakeRtspServer::Read(QTcpSocket* socket)
{
    if (mode_ == Mode::Stall) {
        socket->readAll();
        return;
    }
    QByteArray buffer = socket->property("buffer").toByteArray() + socket->readAll();
    while (true) {
        const qsizetype end = buffer.indexOf("\r\n\r\n");
        if (end < 0)
            break;
        const QByteArray request = buffer.first(end);
        buffer.remove(0, end + 4);
        Answer(socket, request);
    }
    socket->setProperty("buffer", buffer);
}

void FakeRtspServer::Answer(QTcpSocket* socket, const QByteArray& request)
{
    const QByteArray method = request.left(request.indexOf(' '));
    methods_ << QString::fromLatin1(method);
    QByteArray cseq;
    for (const QByteArray& line : request.split('\n')) {
        if (line.toLower().startsWith("cseq:"))
            cseq = line.mid(5).trimmed();
        if (method == "SETUP" && line.toLower().startsWith("transport:"))
            transports_ << QString::fromLatin1(line.mid(10).trimmed());
    }
    QByteArray reply = "RTSP/1.0 200 OK\r\nCSeq: " + cseq + "\r\n";
    if (method == "OPTIONS") {
        reply += "Public: OPTIONS, DESCRIBE, SETUP, PLAY, TEARDOWN, GET_PARAMETER\r\n\r\n";
    } else if (method == "DESCRIBE") {
        const QSize size = mode_ == Mode::HugePicture || mode_ == Mode::HugeHevcPicture ? hugeSize() : QSize(320, 240);
        // The HEVC stream's video and picture parameter sets are bytes no decoder may ever see.
        const QByteArray media = mode_ == Mode::HugeHevcPicture
            ? "a=rtpmap:96 H265/90000\r\na=fmtp:96 sprop-vps=" + QByteArray("\x40\x01\x0c", 3).toBase64() +
                ";sprop-sps=" + MakeHevcSps(size).toBase64() + ";sprop-pps=" + QByteArray("\x44\x01\xc1", 3).toBase64()
            : "a=rtpmap:96 H264/90000\r\na=fmtp:96 packetization-mode=1;sprop-parameter-sets=" +
                MakeH264Sps(size).toBase64() + "," + MakePps().toBase64();
        const QByteArray sdp = "v=0\r\no=- 1 1 IN IP4 127.0.0.1\r\ns=fake\r\nc=IN IP4 127.0.0.1\r\nt=0 0\r\n"
                               "m=video 0 RTP/AVP 96\r\n" +
            media + "\r\na=control:track1\r\n";
        reply += "Content-Base: " + url().toLatin1() +
            "/\r\nContent-Type: application/sdp\r\nContent-Length: " + QByteArray::number(sdp.size()) + "\r\n\r\n" +
            sdp;
    } else if (method == "SETUP") {
        reply += "Transport: RTP/AVP/TCP;unicast;interleaved=0-1\r\nSession: 12345678\r\n\r\n";
    } else if (method == "PLAY") {
        reply += "Session: 12345678\r\nRange: npt=0.000-\r\n\r\n";
        socket->write(reply);
        Play(socket);
        return;
    } else {
        reply += "Session: 12345678\r\n\r\n";
    }
    socket->write(reply);
}

QByteArray FakeRtspServer::Rtp(quint16 sequence, quint32 timestamp, bool marker, const QByteArray& payload)
{
    QByteArray packet(12, '\0');
    packet[0] = '\x80';
    packet[1] = static_cast<char>((marker ? 0x80 : 0) | 96);
    packet[2] = static_cast<char>(sequence >> 8);
    packet[3] = static_cast<char>(sequence);
    for (int i = 0; i < 4; ++i)
        packet[4 + i] = static_cast<char>(timestamp >> (24 - 8 * i));
    packet[8] = '\x12';
    packet[9] = '\x34';
    packet[10] = '\x56';
    packet[11] = '\x78';
    packet += payload;
    QByteArray framed(4, '\0');
    framed[0] = '$';
    framed[1] = '\0';
    framed[2] = static_cast<char>(packet.size() >> 8);
    framed[3] = static_cast<char>(packet.size());
    return framed + packet;
}

void FakeRtspServer::Play(QTcpSocket* socket)
{
    switch (mode_) {
    case Mode::Stall:
    case Mode::HugePicture:
    case Mode::HugeHevcPicture:
        return;
    case Mode::CutKeyframe: {
        // An IDR slice in fragments (FU-A): its start and a middle part, never its end.
        const QByteArray slice = IdrSliceStart(2400);
        const QByteArray start = QByteArray("\x7c\x85", 2) + slice.first(1200);
        const QByteArray middle = QByteArray("\x7c\x05", 2) + slice.sliced(1200);
        socket->write(Rtp(1, 9000, false, start));
        socket->write(Rtp(2, 9000, false, middle));
        socket->flush();
        QTimer::singleShot(300, socket, [socket] { socket->disconnectFromHost(); });
        return;
    }
    case Mode::NoKeyframe: {
        auto* timer = new QTimer(socket);
        quint16 sequence = 1;
        quint32 timestamp = 0;
        connect(timer, &QTimer::timeout, socket, [socket, sequence, timestamp]() mutable {
            // A P slice (NAL type 1): first macroblock 0, slice type P, PPS 0, then filler.
            const QByteArray slice = QByteArray("\x41\x9a", 2) + QByteArray(200, '\x33');
            socket->write(Rtp(sequence++, timestamp, true, slice));
            timestamp += 9000;
        });
        timer->start(100);
        return;
    }
    }
}
