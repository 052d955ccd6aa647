#pragma once
// Whether a picture differs from another to the eye: both are reduced to a small grey copy,
// about 64 pixels high, and compared pixel by pixel. The copy averages away what a re-encode or
// a sensor's grain changes, and keeps what a person would call a change: something that moved,
// a light switched on, dawn.
#include <QByteArray>
#include <QImage>
#include <QList>
#include <QRectF>
#include <QSize>
#include <QString>
#include <optional>

// A picture's grey copy: one level (0 to 255) a pixel, row by row.
struct GreyCopy {
    QSize size;
    QByteArray levels;
    bool isNull() const { return levels.isEmpty(); }
};

// The height of a grey copy; a picture less high keeps its own. The width follows the picture's
// shape, at most kGreyCopyMaxWidth (a panorama).
constexpr int kGreyCopyHeight = 64;
constexpr int kGreyCopyMaxWidth = 256;

// The grey copy of a picture at whatever size it was decoded: a thumbnail's scaled decode and the
// full picture give nearly the same copy. Each of its pixels averages a grid of at most 8 × 8
// samples of its share of the picture, so a 4K picture costs no more than a thumbnail. Null for
// a null picture.
GreyCopy MakeGreyCopy(const QImage& picture);

// When a picture counts as changed.
struct ChangeRule {
    int pixelLevel = 25;   // a pixel changed when its level differs by more than this (of 255)
    int areaPerMille = 5;  // the picture changed when more than this share of its pixels did (‰)
};

// The share (0 to 1) of the pixels outside `ignored` whose levels differ by more than
// `pixelLevel`; `ignored` holds rectangles in fractions of the picture's size (0 to 1). Copies of
// different sizes (another picture size) differ entirely: 1. A mask that covers everything
// leaves nothing to differ: 0.
double ChangedShare(const GreyCopy& a, const GreyCopy& b, int pixelLevel, const QList<QRectF>& ignored = {});
// Whether `now` changed from `before` by the rule.
bool PictureChanged(const GreyCopy& before, const GreyCopy& now, const ChangeRule& rule,
                    const QList<QRectF>& ignored = {});

// What makes a fetched picture new (a change the archive keeps, "Last Changed", AutoSave).
enum class NewPictureRule {
    LastModified,  // the server's Last-Modified line changed, whatever the picture shows
    Content,       // the picture itself changed (identical bytes never have)
    Both,          // the server says so, and the picture changed
};
// The rule named by a stored value: "lastModified", "content" or "both"; any other text is the
// Last-Modified rule, which has always decided.
NewPictureRule NewPictureRuleFromText(const QString& text);

// Under `rule`: whether a picture is new, given whether its Last-Modified line says so, whether
// its bytes are those of the picture shown, and whether its content changed from the last new
// picture's (nothing when there is none to compare with: the first picture a cam shows is the
// baseline, never new).
bool IsNewPicture(NewPictureRule rule, bool stampSaysNew, bool sameBytes, std::optional<bool> contentChanged);

// The choices made for one cam: its own rule (none: the Options' rule) and its mask.
struct CamChoices {
    std::optional<NewPictureRule> rule;
    QList<QRectF> mask;
    // A stream cam (rtsp://, rtsps://) takes its RTP over UDP rather than inside the RTSP
    // connection: some cams serve only UDP; TCP passes firewalls and loses nothing, so it stays
    // the default.
    bool streamUdp = false;
};
// The rule a cam's stored value names: "lastModified", "content" or "both"; nothing for any
// other text (the empty text of "Use the Options' rule" among them).
std::optional<NewPictureRule> CamRuleFromText(const QString& text);
// A mask as stored: "x,y,w,h" per rectangle in fractions of the picture's size, separated by
// ";", for example "0.02,0.02,0.45,0.14". Reading drops what is not four numbers, clips each
// rectangle to the picture and drops an empty one.
QList<QRectF> MaskFromText(const QString& text);
QString MaskText(const QList<QRectF>& mask);
