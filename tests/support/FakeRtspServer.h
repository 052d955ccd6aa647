#pragma once
// A stream server that misbehaves, for tests: it speaks just enough RTSP (OPTIONS, DESCRIBE with
// an H.264 SDP, SETUP for RTP interleaved in the connection, PLAY) on 127.0.0.1 at a free port,
// and then does what its mode says. A real server (RtspTestServer) shows the sound cases.
#include <QByteArray>
#include <QList>
#include <QSize>
#include <QString>
#include <QTcpServer>
#include <QTimer>

class QTcpSocket;

// An H.264 sequence parameter set NAL unit (with its header byte, emulation prevention in place)
// declaring `size`: Baseline profile, or High with 4:2:0 chroma; the size is cropped from whole
// macroblocks.
QByteArray MakeH264Sps(const QSize& size, bool highProfile = false);
// An H.265 sequence parameter set (NAL header included) declaring `size`, 4:2:0, with
// `subLayers` temporal sub-layers (1 to 7), each with its own profile and level.
QByteArray MakeHevcSps(const QSize& size, int subLayers = 1);

class FakeRtspServer : public QObject {
    Q_OBJECT
public:
    enum class Mode {
        Stall,            // accepts the connection and never answers
        NoKeyframe,       // plays, but sends only frames that are no keyframe
        CutKeyframe,      // plays, sends the first half of a keyframe and closes the connection
        HugePicture,      // its SDP declares a picture of `hugeSize()`, then plays nothing
        HugeHevcPicture,  // the same as an H.265 stream
    };
    explicit FakeRtspServer(Mode mode, QObject* parent = nullptr);
    static QSize hugeSize() { return {30000, 30000}; }

    bool isListening() const { return server_.isListening(); }
    QString url() const;
    int connections() const { return connections_; }
    // The requests' methods, in order ("OPTIONS", "DESCRIBE", ...).
    const QStringList& methods() const { return methods_; }
    // The Transport header of each SETUP, in order ("RTP/AVP/TCP;unicast;interleaved=0-1").
    const QStringList& transports() const { return transports_; }

private:
    void Read(QTcpSocket* socket);
    void Answer(QTcpSocket* socket, const QByteArray& request);
    void Play(QTcpSocket* socket);
    static QByteArray Rtp(quint16 sequence, quint32 timestamp, bool marker, const QByteArray& payload);

    Mode mode_;
    QTcpServer server_;
    int connections_ = 0;
    QStringList methods_;
    QStringList transports_;
};
