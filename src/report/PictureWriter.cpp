#include "report/PictureWriter.h"

namespace PictureWriter {

namespace {

quint32 bigEndian(const QByteArray &b, qsizetype at, int bytes)
{
    quint32 v = 0;
    for (int i = 0; i < bytes; ++i)
        v = (v << 8) | static_cast<unsigned char>(b[at + i]);
    return v;
}

bool pngSize(const QByteArray &b, quint32 *w, quint32 *h)
{
    static const QByteArray signature("\x89PNG\r\n\x1a\n", 8);
    if (b.size() < 24 || !b.startsWith(signature) || b.mid(12, 4) != "IHDR")
        return false;
    *w = bigEndian(b, 16, 4);
    *h = bigEndian(b, 20, 4);
    return *w > 0 && *h > 0;
}

bool jpegSize(const QByteArray &b, quint32 *w, quint32 *h)
{
    if (b.size() < 4 || static_cast<unsigned char>(b[0]) != 0xFF || static_cast<unsigned char>(b[1]) != 0xD8)
        return false;
    qsizetype i = 2;
    while (i + 9 < b.size()) {
        if (static_cast<unsigned char>(b[i]) != 0xFF) {
            ++i;
            continue;
        }
        const unsigned char marker = static_cast<unsigned char>(b[i + 1]);
        if (marker == 0xFF) {
            ++i;
            continue;
        }
        const quint32 length = bigEndian(b, i + 2, 2);
        const bool sof = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (sof) {
            *h = bigEndian(b, i + 5, 2);
            *w = bigEndian(b, i + 7, 2);
            return *w > 0 && *h > 0;
        }
        if (length < 2)
            return false;
        i += 2 + length;
    }
    return false;
}

} // namespace

QByteArray pictureGroup(const QByteArray &bytes, bool binary)
{
    quint32 w = 0, h = 0;
    const char *blip = nullptr;
    if (pngSize(bytes, &w, &h))
        blip = "\\pngblip";
    else if (jpegSize(bytes, &w, &h))
        blip = "\\jpegblip";
    else
        return {};
    QByteArray out;
    out.reserve(bytes.size() * (binary ? 1 : 2) + 128);
    out.append("{\\pict");
    out.append(blip);
    // 96 dots per inch: 15 twips per pixel.
    out.append("\\picw" + QByteArray::number(w) + "\\pich" + QByteArray::number(h));
    out.append("\\picwgoal" + QByteArray::number(qulonglong(w) * 15) + "\\pichgoal" + QByteArray::number(qulonglong(h) * 15));
    if (binary) {
        out.append("\\bin" + QByteArray::number(bytes.size()) + ' ');
        out.append(bytes);
    } else {
        out.append('\n');
        const QByteArray hex = bytes.toHex();
        for (qsizetype i = 0; i < hex.size(); i += 128) {
            out.append(hex.mid(i, 128));
            out.append('\n');
        }
    }
    out.append('}');
    return out;
}

} // namespace PictureWriter
