#include "image/MeasuredImage.h"

#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <algorithm>

namespace quorvex::image {

namespace {

// Megabytes a reader may allocate: an 8192 x 8192 image of 16-bit colour fits.
constexpr int kAllocationLimitMb = 600;

QString Refusal(const QString& path, const QString& problem) {
    return QStringLiteral("Cannot open the image \u201C%1\u201D: %2")
        .arg(QFileInfo(path).fileName(), problem);
}

// Some decoders hand back what they got from a cut-off file without an
// error; the end markers of PNG and JPEG tell.
bool EndsComplete(const QByteArray& format, QFile& file) {
    const qint64 size = file.size();
    if (format == "png") {
        // The last chunk is IEND: its type and CRC are the file's last 8 bytes.
        if (size < 12 || !file.seek(size - 8)) return false;
        return file.read(8) == QByteArray::fromHex("49454E44AE426082");
    }
    if (format == "jpeg") {
        // The end-of-image marker, possibly followed by a little padding.
        const qint64 tail = std::min<qint64>(size, 64);
        if (!file.seek(size - tail)) return false;
        return file.read(tail).contains(QByteArray::fromHex("FFD9"));
    }
    if (format == "bmp") {
        // The header's file size, and for uncompressed pixels the rows it needs.
        if (size < 54 || !file.seek(0)) return false;
        const QByteArray header = file.read(54);
        auto le32 = [&header](int at) {
            return static_cast<qint64>(static_cast<std::uint32_t>(
                static_cast<unsigned char>(header[at]) |
                static_cast<unsigned char>(header[at + 1]) << 8 |
                static_cast<unsigned char>(header[at + 2]) << 16 |
                static_cast<std::uint32_t>(static_cast<unsigned char>(header[at + 3])) << 24));
        };
        if (header.size() < 54 || le32(2) > size) return false;
        const qint64 offset = le32(10), width = le32(18), bits = le32(28) & 0xFFFF;
        const auto height = static_cast<std::int32_t>(le32(22));
        if (le32(30) == 0 && width > 0 && width <= kMostPixelsPerSide && bits > 0 && bits <= 32) {
            const qint64 rowBytes = (width * bits + 31) / 32 * 4;
            const qint64 rows = height < 0 ? -static_cast<qint64>(height) : height;
            if (offset + rowBytes * rows > size) return false;
        }
    }
    return true;
}

std::uint16_t Luminance16(unsigned r, unsigned g, unsigned b) {
    // Rec. 601 weights in parts of 1000; the result stays within 0..65535.
    return static_cast<std::uint16_t>((299u * r + 587u * g + 114u * b + 500u) / 1000u);
}

bool FloatingPoint(QImage::Format f) {
    switch (f) {
        case QImage::Format_RGBX16FPx4:
        case QImage::Format_RGBA16FPx4:
        case QImage::Format_RGBA16FPx4_Premultiplied:
        case QImage::Format_RGBX32FPx4:
        case QImage::Format_RGBA32FPx4:
        case QImage::Format_RGBA32FPx4_Premultiplied:
            return true;
        default:
            return false;
    }
}

bool SixteenBitColour(QImage::Format f) {
    return f == QImage::Format_RGBX64 || f == QImage::Format_RGBA64 ||
           f == QImage::Format_RGBA64_Premultiplied;
}

MeasuredImage GreyOf(const QImage& read) {
    MeasuredImage m;
    m.width = read.width();
    m.height = read.height();
    m.grey.resize(static_cast<std::size_t>(m.width) * static_cast<std::size_t>(m.height));
    const auto w = static_cast<std::size_t>(m.width);
    if (read.format() == QImage::Format_Grayscale16) {
        m.bitsPerChannel = 16;
        for (int y = 0; y < m.height; ++y) {
            const auto* line = reinterpret_cast<const std::uint16_t*>(read.constScanLine(y));
            std::copy(line, line + w, m.grey.begin() + static_cast<std::ptrdiff_t>(y * w));
        }
    } else if (SixteenBitColour(read.format())) {
        m.bitsPerChannel = 16;
        m.colour = true;
        const QImage rgba = read.convertToFormat(QImage::Format_RGBX64);
        for (int y = 0; y < m.height; ++y) {
            const auto* line = reinterpret_cast<const QRgba64*>(rgba.constScanLine(y));
            for (std::size_t x = 0; x < w; ++x)
                m.grey[y * w + x] = Luminance16(line[x].red(), line[x].green(), line[x].blue());
        }
    } else if (read.format() == QImage::Format_Grayscale8 ||
               (read.format() == QImage::Format_Indexed8 && read.isGrayscale())) {
        const QImage grey = read.convertToFormat(QImage::Format_Grayscale8);
        for (int y = 0; y < m.height; ++y) {
            const uchar* line = grey.constScanLine(y);
            for (std::size_t x = 0; x < w; ++x)
                m.grey[y * w + x] = static_cast<std::uint16_t>(line[x] * 257);
        }
    } else {
        m.colour = true;
        const QImage rgb = read.convertToFormat(QImage::Format_RGB32);
        for (int y = 0; y < m.height; ++y) {
            const auto* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
            for (std::size_t x = 0; x < w; ++x)
                m.grey[y * w + x] = Luminance16(qRed(line[x]) * 257u, qGreen(line[x]) * 257u,
                                                qBlue(line[x]) * 257u);
        }
    }
    return m;
}

}  // namespace

LoadedImage LoadMeasuredImage(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {std::nullopt, Refusal(path, QStringLiteral("the file cannot be read (%1).")
                                                .arg(file.errorString()))};
    if (file.size() == 0) return {std::nullopt, Refusal(path, QStringLiteral("the file is empty."))};
    QImageReader::setAllocationLimit(kAllocationLimitMb);
    QImageReader reader(&file);
    reader.setAutoTransform(false);
    const QByteArray format = reader.format();
    if (!reader.canRead() ||
        !(format == "png" || format == "jpeg" || format == "bmp" || format == "tiff"))
        return {std::nullopt,
                Refusal(path, QStringLiteral("it is not a PNG, JPEG, BMP or TIFF image."))};
    const QSize size = reader.size();
    if (size.isValid() && (size.width() > kMostPixelsPerSide || size.height() > kMostPixelsPerSide))
        return {std::nullopt, Refusal(path, QStringLiteral("it is %1 \u00D7 %2 pixels; at most "
                                                           "%3 \u00D7 %3 can be opened.")
                                                .arg(size.width())
                                                .arg(size.height())
                                                .arg(kMostPixelsPerSide))};
    if (size.isValid() && size.isEmpty())
        return {std::nullopt, Refusal(path, QStringLiteral("it has no pixels."))};
    if (FloatingPoint(reader.imageFormat()))
        return {std::nullopt, Refusal(path, QStringLiteral("floating-point samples are not "
                                                           "supported; save it with 8 or 16 bits "
                                                           "per channel."))};
    QImage read;
    if (!reader.read(&read) || read.isNull())
        return {std::nullopt, Refusal(path, QStringLiteral("the file is truncated or corrupt (%1).")
                                                .arg(reader.errorString()))};
    if (read.width() > kMostPixelsPerSide || read.height() > kMostPixelsPerSide)
        return {std::nullopt, Refusal(path, QStringLiteral("it is larger than %1 \u00D7 %1 pixels.")
                                                .arg(kMostPixelsPerSide))};
    if (!EndsComplete(format, file))
        return {std::nullopt, Refusal(path, QStringLiteral("the file is truncated."))};
    if (FloatingPoint(read.format()))
        return {std::nullopt, Refusal(path, QStringLiteral("floating-point samples are not "
                                                           "supported; save it with 8 or 16 bits "
                                                           "per channel."))};
    if (read.depth() < 8)
        return {std::nullopt, Refusal(path, QStringLiteral("a %1-bit image has too few grey levels "
                                                           "to measure; save it with 8 or 16 bits.")
                                                .arg(read.depth()))};
    return {GreyOf(read), {}};
}

std::vector<std::uint16_t> Resampled(const MeasuredImage& image, QSize size) {
    const int w = std::max(1, size.width()), h = std::max(1, size.height());
    std::vector<std::uint16_t> out(static_cast<std::size_t>(w) * static_cast<std::size_t>(h));
    if (image.width <= 0 || image.height <= 0) return out;
    // The source columns [first[x], first[x + 1]) fall into output column x
    // (at least one each, so that an enlarged image repeats its pixels).
    auto spans = [](int from, int to) {
        std::vector<int> first(static_cast<std::size_t>(to) + 1);
        for (int i = 0; i <= to; ++i)
            first[static_cast<std::size_t>(i)] = static_cast<int>(
                static_cast<long long>(i) * from / to);
        std::vector<std::pair<int, int>> span(static_cast<std::size_t>(to));
        for (int i = 0; i < to; ++i) {
            const int a = std::min(first[static_cast<std::size_t>(i)], from - 1);
            span[static_cast<std::size_t>(i)] = {a, std::max(a + 1, first[static_cast<std::size_t>(i) + 1])};
        }
        return span;
    };
    const auto columns = spans(image.width, w);
    const auto rows = spans(image.height, h);
    std::vector<std::uint64_t> sums(static_cast<std::size_t>(w));
    const auto iw = static_cast<std::size_t>(image.width);
    for (int y = 0; y < h; ++y) {
        const auto [rowLow, rowHigh] = rows[static_cast<std::size_t>(y)];
        std::fill(sums.begin(), sums.end(), 0);
        for (int sy = rowLow; sy < rowHigh; ++sy) {
            const std::uint16_t* line = &image.grey[static_cast<std::size_t>(sy) * iw];
            for (int x = 0; x < w; ++x) {
                const auto [low, high] = columns[static_cast<std::size_t>(x)];
                std::uint64_t s = 0;
                for (int sx = low; sx < high; ++sx) s += line[sx];
                sums[static_cast<std::size_t>(x)] += s;
            }
        }
        std::uint16_t* target = &out[static_cast<std::size_t>(y) * static_cast<std::size_t>(w)];
        for (int x = 0; x < w; ++x) {
            const auto [low, high] = columns[static_cast<std::size_t>(x)];
            const auto count = static_cast<std::uint64_t>(high - low) * static_cast<std::uint64_t>(rowHigh - rowLow);
            target[x] = static_cast<std::uint16_t>(sums[static_cast<std::size_t>(x)] / count);
        }
    }
    return out;
}

}  // namespace quorvex::image
