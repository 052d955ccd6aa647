#!/usr/bin/env bash
# Installs the Debian 12 packages that building, running and testing Tolvane need; packages
# already present are left alone. Runs as root, or through sudo otherwise.
set -euo pipefail
packages=(
  cmake ninja-build g++ pkg-config ccache
  qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins libgl-dev
  qt6-tools-dev qt6-l10n-tools qt6-translations-l10n  # translations: lupdate, lrelease, Qt's own texts
  libturbojpeg0-dev zlib1g-dev
  libqt6sql6-sqlite
  libavcodec-dev libavformat-dev libswscale-dev libavutil-dev
  ffmpeg
  libgtest-dev libgmock-dev googletest
  openssl dbus
  lighttpd  # the real web server of the sign-in, redirect and conditional-request tests
  # the real RTSP server of the stream-cam tests (GStreamer's, run by /usr/bin/python3): x264enc
  # is in "ugly", the RTP payloaders in "good"
  python3-gi gir1.2-gst-rtsp-server-1.0 gir1.2-gst-plugins-base-1.0
  gstreamer1.0-plugins-base gstreamer1.0-plugins-good gstreamer1.0-plugins-ugly gstreamer1.0-plugins-bad
  clang libclang-rt-14-dev clang-format
  lintian desktop-file-utils appstream xvfb xauth x11-utils  # package checks (packaging/)
  systemd  # systemd-analyze verify: the recorder's user unit (packaging/)
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update
$sudo apt-get install -y --no-install-recommends "${missing[@]}"
