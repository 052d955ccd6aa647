#include "PictureChange.h"

#include <QStringList>
#include <algorithm>
#include <cstdlib>
#include <vector>

GreyCopy MakeGreyCopy(const QImage& source)
{
    if (source.isNull())
        return {};
    // The decoder's formats come as 32-bit pixels; any other (a PNG's palette) is converted once.
    QImage converted;
    const QImage* picture = &source;
    if (source.format() != QImage::Format_RGB32 && source.format() != QImage::Format_ARGB32 &&
        source.format() != QImage::Format_ARGB32_Premultiplied) {
        converted = source.convertToFormat(QImage::Format_RGB32);
        picture = &converted;
    }
    const int width = picture->width(), height = picture->height();
    const int copyHeight = std::min(height, kGreyCopyHeight);
    const int copyWidth =
        std::clamp(int((qint64(width) * copyHeight + height / 2) / height), 1, std::min(width, kGreyCopyMaxWidth));
    GreyCopy copy;
    copy.size = QSize(copyWidth, copyHeight);
    copy.levels.resize(qsizetype(copyWidth) * copyHeight);
    uchar* out = reinterpret_cast<uchar*>(copy.levels.data());
    // Samples each way per pixel of the copy: a scaled decode's pixels are averages already and
    // need few; a full picture's share is averaged over as many as the copy of a scaled decode
    // of it would be, else its fine detail makes the two copies differ.
    constexpr int kSamples = 8;
    // The columns each pixel of the copy samples are the same on every row: worked out once, so
    // that the sums, made along the picture's lines, need no division.
    std::vector<int> sampleX;
    sampleX.reserve(size_t(copyWidth) * kSamples);
    std::vector<int> firstSample(size_t(copyWidth) + 1);
    for (int x = 0; x < copyWidth; ++x) {
        const int left = int(qint64(x) * width / copyWidth);
        const int right = std::max(left + 1, int(qint64(x + 1) * width / copyWidth));
        const int columns = std::min(kSamples, right - left);
        firstSample[size_t(x)] = int(sampleX.size());
        // Spread evenly over the pixel's share of the picture, its middle columns first.
        for (int c = 0; c < columns; ++c)
            sampleX.push_back(left + ((2 * c + 1) * (right - left)) / (2 * columns));
    }
    firstSample[size_t(copyWidth)] = int(sampleX.size());
    std::vector<unsigned> sums(static_cast<size_t>(copyWidth));
    for (int y = 0; y < copyHeight; ++y) {
        const int top = int(qint64(y) * height / copyHeight);
        const int bottom = std::max(top + 1, int(qint64(y + 1) * height / copyHeight));
        const int rows = std::min(kSamples, bottom - top);
        std::fill(sums.begin(), sums.end(), 0u);
        for (int r = 0; r < rows; ++r) {
            // Spread evenly over the pixel's share of the picture, its middle rows first.
            const int sy = top + ((2 * r + 1) * (bottom - top)) / (2 * rows);
            const QRgb* line = reinterpret_cast<const QRgb*>(picture->constScanLine(sy));
            const int* sample = sampleX.data();
            for (int x = 0; x < copyWidth; ++x) {
                unsigned sum = 0;
                for (const int* end = sampleX.data() + firstSample[size_t(x) + 1]; sample < end; ++sample) {
                    const QRgb pixel = line[*sample];
                    // Luma, in integers: 0.299 R + 0.587 G + 0.114 B.
                    sum +=
                        (77 * unsigned(qRed(pixel)) + 150 * unsigned(qGreen(pixel)) + 29 * unsigned(qBlue(pixel))) >> 8;
                }
                sums[size_t(x)] += sum;
            }
        }
        for (int x = 0; x < copyWidth; ++x) {
            const unsigned count = unsigned(rows * (firstSample[size_t(x) + 1] - firstSample[size_t(x)]));
            *out++ = uchar((sums[size_t(x)] + count / 2) / count);
        }
    }
    return copy;
}

double ChangedShare(const GreyCopy& a, const GreyCopy& b, int pixelLevel, const QList<QRectF>& ignored)
{
    if (a.size != b.size || a.isNull())
        return 1.0;
    const int width = a.size.width(), height = a.size.height();
    // The mask in the copy's pixels: a pixel is ignored when its middle lies in a rectangle.
    std::vector<bool> masked;
    if (!ignored.isEmpty()) {
        masked.assign(size_t(width) * size_t(height), false);
        for (const QRectF& r : ignored) {
            const QRectF rect = r.normalized();
            for (int y = 0; y < height; ++y) {
                const double my = (y + 0.5) / height;
                if (my < rect.top() || my >= rect.bottom())
                    continue;
                for (int x = 0; x < width; ++x) {
                    const double mx = (x + 0.5) / width;
                    if (mx >= rect.left() && mx < rect.right())
                        masked[size_t(y) * size_t(width) + size_t(x)] = true;
                }
            }
        }
    }
    const auto* pa = reinterpret_cast<const uchar*>(a.levels.constData());
    const auto* pb = reinterpret_cast<const uchar*>(b.levels.constData());
    qsizetype counted = 0, changed = 0;
    for (qsizetype i = 0; i < a.levels.size(); ++i) {
        if (!masked.empty() && masked[size_t(i)])
            continue;
        ++counted;
        if (std::abs(int(pa[i]) - int(pb[i])) > pixelLevel)
            ++changed;
    }
    return counted ? double(changed) / double(counted) : 0.0;
}

bool PictureChanged(const GreyCopy& before, const GreyCopy& now, const ChangeRule& rule, const QList<QRectF>& ignored)
{
    return ChangedShare(before, now, rule.pixelLevel, ignored) * 1000.0 > rule.areaPerMille;
}

NewPictureRule NewPictureRuleFromText(const QString& text)
{
    if (text == QLatin1String("content"))
        return NewPictureRule::Content;
    if (text == QLatin1String("both"))
        return NewPictureRule::Both;
    return NewPictureRule::LastModified;
}

std::optional<NewPictureRule> CamRuleFromText(const QString& text)
{
    if (text == QLatin1String("lastModified"))
        return NewPictureRule::LastModified;
    if (text == QLatin1String("content") || text == QLatin1String("both"))
        return NewPictureRuleFromText(text);
    return std::nullopt;
}

QList<QRectF> MaskFromText(const QString& text)
{
    QList<QRectF> mask;
    for (const QString& part : text.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const QStringList numbers = part.split(QLatin1Char(','));
        if (numbers.size() != 4)
            continue;
        double value[4];
        bool ok = true;
        for (int i = 0; i < 4 && ok; ++i)
            value[i] = numbers[i].trimmed().toDouble(&ok);
        if (!ok)
            continue;
        const QRectF rect = QRectF(value[0], value[1], value[2], value[3]).normalized() & QRectF(0, 0, 1, 1);
        if (!rect.isEmpty())
            mask << rect;
    }
    return mask;
}

QString MaskText(const QList<QRectF>& mask)
{
    QStringList parts;
    const auto number = [](double value) { return QString::number(value, 'g', 4); };
    for (const QRectF& r : mask)
        parts << QStringList{number(r.x()), number(r.y()), number(r.width()), number(r.height())}.join(
            QLatin1Char(','));
    return parts.join(QLatin1Char(';'));
}

bool IsNewPicture(NewPictureRule rule, bool stampSaysNew, bool sameBytes, std::optional<bool> contentChanged)
{
    const bool changed = !sameBytes && contentChanged.value_or(false);
    switch (rule) {
    case NewPictureRule::LastModified:
        return stampSaysNew;
    case NewPictureRule::Content:
        return changed;
    case NewPictureRule::Both:
        return stampSaysNew && changed;
    }
    return stampSaysNew;
}
