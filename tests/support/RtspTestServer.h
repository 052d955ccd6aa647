#pragma once
// GStreamer's RTSP server as a real stream server for tests: an H.264 test picture (x264enc) at
// rtsp://127.0.0.1:<free port>/cam, run by Debian's Python bindings (/usr/bin/python3) as a child
// process whose script is written into the test's folder, stopped with the object.
//
//     RtspTestServer rtsp(folder.path());
//     rtsp.requireSignIn("digest", "viewer", "p@ss:w/rd");  // or "basic"; before start()
//     ASSERT_TRUE(rtsp.start()) << rtsp.problem().toStdString();  // fails (never skips) without it
//     ... rtsp.url("viewer:p%40ss%3Aw%2Frd@") ...
#include <QProcess>
#include <QSize>
#include <QString>
#include <memory>

class RtspTestServer {
public:
    explicit RtspTestServer(const QString& folder);
    ~RtspTestServer();
    RtspTestServer(const RtspTestServer&) = delete;
    RtspTestServer& operator=(const RtspTestServer&) = delete;

    // "basic" or "digest"; the user and password as the server checks them (not encoded).
    void requireSignIn(const QString& method, const QString& user, const QString& password);
    // Frames between two keyframes (10 frames a second); 20 by default.
    void setKeyframeInterval(int frames) { keyframeInterval_ = frames; }
    static QSize pictureSize() { return {320, 240}; }
    // Clients join the one running stream wherever it is, as with a camera, and wait for its next
    // keyframe (by default each PLAY restarts the stream on a keyframe). Before start().
    void setLive(bool live) { live_ = live; }

    bool start();
    void stop();
    QString problem() const { return problem_; }
    quint16 port() const { return port_; }
    // "rtsp://" + userPart + "127.0.0.1:<port>/cam"; userPart percent-encoded, like "viewer:secret@".
    QString url(const QString& userPart = QString()) const;

private:
    QString folder_;
    QString method_, user_, password_;
    int keyframeInterval_ = 20;
    bool live_ = false;
    quint16 port_ = 0;
    std::unique_ptr<QProcess> process_;
    QString problem_;
};
