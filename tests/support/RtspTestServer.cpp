#include "RtspTestServer.h"

#include "ChildServer.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTcpServer>
#include <QTcpSocket>

namespace {
const char kScript[] = R"PY(
# An H.264 test picture at /cam on 127.0.0.1, with sign-in when asked. The ball's place follows
# the clock: the pipeline starts anew for each client, and its stills must differ all the same.
# Arguments: [--live] port keyframe-interval [basic|digest user password]
# The clients share one stream. The server seeks it back to its start at every PLAY (whose
# Range asks for it from 0), which restarts the encoder, so that each client begins on a
# keyframe. --live refuses that seek, as a camera does: a client joins the running stream
# wherever it is, and waits for its next keyframe.
import sys
import gi
gi.require_version("Gst", "1.0")
gi.require_version("GstRtsp", "1.0")
gi.require_version("GstRtspServer", "1.0")
from gi.repository import Gst, GstRtsp, GstRtspServer, GLib

live = "--live" in sys.argv
if live:
    sys.argv.remove("--live")
Gst.init(None)
server = GstRtspServer.RTSPServer()
server.set_address("127.0.0.1")
server.set_service(sys.argv[1])
factory = GstRtspServer.RTSPMediaFactory()
factory.set_launch(
    "( videotestsrc is-live=true pattern=ball animation-mode=wall-time ! video/x-raw,width=320,height=240,framerate=10/1 "
    "! x264enc tune=zerolatency speed-preset=ultrafast key-int-max=%d bframes=0 "
    "! rtph264pay name=pay0 pt=96 config-interval=-1 )" % int(sys.argv[2]))
factory.set_shared(True)


def refuse_seeking(pad, info):
    # A seeking query answered unset says "not seekable".
    if info.get_query().type == Gst.QueryType.SEEKING:
        return Gst.PadProbeReturn.HANDLED
    return Gst.PadProbeReturn.OK


def unseekable(factory, media):
    pay = media.get_element().get_by_name("pay0")
    pay.get_static_pad("src").add_probe(Gst.PadProbeType.QUERY_UPSTREAM, refuse_seeking)


if live:
    factory.connect("media-configure", unseekable)
if len(sys.argv) > 3:
    method, user, password = sys.argv[3], sys.argv[4], sys.argv[5]
    auth = GstRtspServer.RTSPAuth()
    token = GstRtspServer.RTSPToken()
    token.set_string(GstRtspServer.RTSP_TOKEN_MEDIA_FACTORY_ROLE, "viewer")
    if method == "digest":
        auth.set_supported_methods(GstRtsp.RTSPAuthMethod.DIGEST)
        auth.add_digest(user, password, token)
    else:
        auth.add_basic(GstRtspServer.RTSPAuth.make_basic(user, password), token)
    server.set_auth(auth)
    permissions = GstRtspServer.RTSPPermissions()
    permissions.add_role_from_structure(Gst.Structure.new_from_string(
        "viewer, media.factory.access=(boolean)true, media.factory.construct=(boolean)true"))
    factory.set_permissions(permissions)
server.get_mount_points().add_factory("/cam", factory)
if server.attach(None) == 0:
    sys.exit(2)
GLib.MainLoop().run()
)PY";

}  // namespace

RtspTestServer::RtspTestServer(const QString& folder) : folder_(folder)
{
}

RtspTestServer::~RtspTestServer()
{
    stop();
}

void RtspTestServer::requireSignIn(const QString& method, const QString& user, const QString& password)
{
    method_ = method;
    user_ = user;
    password_ = password;
}

bool RtspTestServer::start()
{
    const QString python = QStringLiteral("/usr/bin/python3");
    if (!QFile::exists(python)) {
        problem_ = QStringLiteral("/usr/bin/python3 is missing (tools/install-deps.sh installs it)");
        return false;
    }
    const QString scriptPath = folder_ + QStringLiteral("/rtsp_server.py");
    QFile script(scriptPath);
    if (!script.open(QIODevice::WriteOnly | QIODevice::Truncate) || script.write(kScript) < 0) {
        problem_ = QStringLiteral("cannot write ") + scriptPath;
        return false;
    }
    script.close();
    port_ = FreeLoopbackPort();
    if (port_ == 0) {
        problem_ = QStringLiteral("no free port");
        return false;
    }
    QStringList arguments{scriptPath};
    if (live_)
        arguments << QStringLiteral("--live");
    arguments << QString::number(port_) << QString::number(keyframeInterval_);
    if (!method_.isEmpty())
        arguments << method_ << user_ << password_;
    process_ = std::make_unique<QProcess>();
    process_->setProcessChannelMode(QProcess::MergedChannels);
    process_->start(python, arguments);
    if (!process_->waitForStarted(5000)) {
        problem_ = QStringLiteral("python3 did not start: ") + process_->errorString();
        return false;
    }
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 20000) {
        if (process_->state() != QProcess::Running) {
            problem_ = QStringLiteral("the RTSP server stopped (python3-gi, gir1.2-gst-rtsp-server-1.0 and the "
                                      "GStreamer plugins are installed by tools/install-deps.sh): ") +
                QString::fromUtf8(process_->readAll());
            return false;
        }
        QTcpSocket probe;
        probe.connectToHost(QHostAddress::LocalHost, port_);
        if (probe.waitForConnected(200))
            return true;
        process_->waitForFinished(100);
    }
    problem_ = QStringLiteral("the RTSP server did not listen within 20 s");
    return false;
}

void RtspTestServer::stop()
{
    StopChildServer(process_);
}

QString RtspTestServer::url(const QString& userPart) const
{
    return QStringLiteral("rtsp://") + userPart + QStringLiteral("127.0.0.1:%1/cam").arg(port_);
}
