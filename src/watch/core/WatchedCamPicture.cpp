// A watched cam's picture at the sizes it is drawn at: the views hold a scaled decode of the
// fetched JPEG, and the full picture is decoded from the kept bytes only for whoever shows or
// saves it at its own size. 24 cams at 4K cost 24 compressed bodies and 24 small pictures, not
// 24 pictures of 33 MB each.
#include "JpegReader.h"
#include "PictureMemory.h"
#include "ShrinkPicture.h"
#include "WatchedCam.h"

void WatchedCam::setFollowed(bool followed)
{
    if (followed == followed_)
        return;
    followed_ = followed;
    if (!followed) {
        full_ = QImage();
        KeepThumbnailOnlySoon();
    }
    updateLive();
}

bool WatchedCam::HoldsFullDecode() const
{
    // Without bytes the picture is its own full one (the not-found picture): nothing to give up.
    return !slotPictureBytes.isEmpty() && !picture_.isNull() && picture_.size() == slotPictureSize;
}

void WatchedCam::KeepThumbnailOnlySoon()
{
    if (!HoldsFullDecode())
        return;
    // From the event loop: shrinking a 4K picture costs a few milliseconds that a click need not
    // wait for, and the Viewer holds the picture until the click has shown the next one anyway.
    const qint64 picture = picture_.cacheKey();
    QMetaObject::invokeMethod(
        this,
        [this, picture] {
            if (!followed_ && picture_.cacheKey() == picture)
                KeepThumbnailOnly();
        },
        Qt::QueuedConnection);
}

void WatchedCam::KeepThumbnailOnly()
{
    // The cam the Viewer followed was decoded in full for it; from now on only its thumbnail is
    // seen, so it keeps what a scaled decode would have made. At 4K that gives back 33 MB at once,
    // and the next click's full decode can take that memory instead of fresh pages.
    if (!HoldsFullDecode())
        return;  // already scaled, or there are no bytes to decode the full picture from again
    const QSize decodeSize = needs_.decodeSize ? needs_.decodeSize(index_) : QSize();
    const int denominator = JpegScaleDenominator(picture_.size(), decodeSize);
    if (denominator == 1)
        return;
    // Averaging whole blocks, as the DCT scaling does: the thumbnail a scaled decode would show.
    const QImage thumbnail = ShrinkPicture(picture_, JpegScaledSize(picture_.size(), denominator));
    if (thumbnail.isNull())
        return;
    picture_ = thumbnail;
    Q_EMIT pictureChanged();
    Q_EMIT changed();  // the views let the full picture go too
}

QImage WatchedCam::fullPicture()
{
    if (slotPictureBytes.isEmpty() || picture_.size() == slotPictureSize)
        return picture_;
    if (!full_.isNull())
        return full_;
    QImage full = LoadPicture(slotPictureBytes).picture;
    if (full.isNull())
        return picture_;  // the same bytes decoded a moment ago; memory may have run out since
    if (followed_)
        full_ = full;
    return full;
}

QSize WatchedCam::pictureSize() const
{
    return slotPictureBytes.isEmpty() ? picture_.size() : slotPictureSize;
}

QImage WatchedCam::displayPicture(const QSize& deviceSize)
{
    if (picture_.width() >= deviceSize.width() && picture_.height() >= deviceSize.height())
        return picture_;
    return fullPicture();
}

void WatchedCam::setPicture(const QImage& picture, const QByteArray& bytes, const QSize& fullSize)
{
    picture_ = picture;
    slotPictureBytes = bytes;
    slotPictureSize = bytes.isEmpty() ? picture.size() : fullSize;
    slotShownBody = QByteArray();  // what the cam shows now came from no accepted body, or is set after this
    full_ = QImage();
    Q_EMIT pictureChanged();
}
