// A slot's picture at the sizes it is drawn at: the thumbnail holds a scaled decode of the
// fetched JPEG, and the full picture is decoded from the kept bytes only for whoever shows or
// saves it at its own size. 24 cams at 4K cost 24 compressed bodies and 24 small pictures, not
// 24 pictures of 33 MB each.
#include <QtMath>

#include "ImageControl.h"
#include "JpegReader.h"
#include "PictureMemory.h"
#include "SlotGrid.h"

void SlotGrid::setSelectedSlot(int index)
{
    const int left = selectedSlot_;
    selectedSlot_ = index;
    if (selectedFullSlot_ != index) {
        selectedFull_ = QImage();
        selectedFullSlot_ = -1;
    }
    if (left != index && left >= 0 && left < kSlotCount)
        KeepThumbnailOnlySoon(left);
}

bool SlotGrid::HoldsFullDecode(int index) const
{
    // Without bytes the picture is its own full one (the not-found picture): nothing to give up.
    const ViewerSlot& s = slot(index);
    const QImage& shown = s.imgCam->picture();
    return !s.slotPictureBytes.isEmpty() && !shown.isNull() && shown.size() == s.slotPictureSize;
}

bool SlotGrid::ShowsCamPicture(int index) const
{
    // Only a fetched (or saved) picture comes with its bytes; the placeholders never do.
    return !slot(index).slotPictureBytes.isEmpty();
}

void SlotGrid::KeepThumbnailOnlySoon(int index)
{
    if (!HoldsFullDecode(index))
        return;
    // From the event loop: shrinking a 4K picture costs a few milliseconds that a click need not
    // wait for, and the Viewer holds the picture until the click has shown the next one anyway.
    const qint64 picture = slot(index).imgCam->picture().cacheKey();
    QMetaObject::invokeMethod(
        this,
        [this, index, picture] {
            if (selectedSlot_ != index && slot(index).imgCam->picture().cacheKey() == picture)
                KeepThumbnailOnly(index);
        },
        Qt::QueuedConnection);
}

void SlotGrid::KeepThumbnailOnly(int index)
{
    // The slot the Viewer followed was decoded in full for it; from now on only its thumbnail is
    // seen, so it keeps what a scaled decode would have made. At 4K that gives back 33 MB at once,
    // and the next click's full decode can take that memory instead of fresh pages.
    if (!HoldsFullDecode(index))
        return;  // already scaled, or there are no bytes to decode the full picture from again
    ViewerSlot& s = slot(index);
    const QImage& shown = s.imgCam->picture();
    const int denominator = JpegScaleDenominator(shown.size(), ThumbnailDeviceSize(index));
    if (denominator == 1)
        return;
    // Averaging whole blocks, as the DCT scaling does: the thumbnail a scaled decode would show.
    const QImage thumbnail = ShrinkPicture(shown, JpegScaledSize(shown.size(), denominator));
    if (thumbnail.isNull())
        return;
    s.imgCam->setPicture(thumbnail);
    Q_EMIT slotChanged(index);  // the wall's tile lets the full picture go too
}

QImage SlotGrid::fullPicture(int index)
{
    const ViewerSlot& s = slot(index);
    const QImage& shown = s.imgCam->picture();
    if (s.slotPictureBytes.isEmpty() || shown.size() == s.slotPictureSize)
        return shown;
    if (index == selectedFullSlot_ && !selectedFull_.isNull())
        return selectedFull_;
    QImage full = LoadPicture(s.slotPictureBytes).picture;
    if (full.isNull())
        return shown;  // the same bytes decoded a moment ago; memory may have run out since
    if (index == selectedSlot_) {
        selectedFull_ = full;
        selectedFullSlot_ = index;
    }
    return full;
}

QSize SlotGrid::pictureSize(int index) const
{
    const ViewerSlot& s = slot(index);
    return s.slotPictureBytes.isEmpty() ? s.imgCam->picture().size() : s.slotPictureSize;
}

QImage SlotGrid::displayPicture(int index, const QSize& deviceSize)
{
    const QImage& shown = slot(index).imgCam->picture();
    if (shown.width() >= deviceSize.width() && shown.height() >= deviceSize.height())
        return shown;
    return fullPicture(index);
}

QSize SlotGrid::ThumbnailDeviceSize(int index) const
{
    const ImageControl* thumbnail = slot(index).imgCam;
    const qreal ratio = thumbnail->devicePixelRatioF();
    const QSize own(qCeil(thumbnail->width() * ratio), qCeil(thumbnail->height() * ratio));
    return largestTileSize_.isValid() ? own.expandedTo(largestTileSize_) : own;
}

void SlotGrid::SetSlotPicture(int index, const QImage& picture, const QByteArray& bytes, const QSize& fullSize)
{
    ViewerSlot& s = slot(index);
    s.imgCam->setPicture(picture);
    s.slotPictureBytes = bytes;
    s.slotPictureSize = bytes.isEmpty() ? picture.size() : fullSize;
    if (selectedFullSlot_ == index) {
        selectedFull_ = QImage();
        selectedFullSlot_ = -1;
    }
}
