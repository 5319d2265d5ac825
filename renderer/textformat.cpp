#include "textformat.h"

namespace {

constexpr int kMaxWidth = 20;

bool isDigit(char c) { return c >= '0' && c <= '9'; }

QByteArray padded(const QByteArray &text, int width, char fill)
{
    if (text.size() >= width)
        return text;
    const QByteArray pad(width - text.size(), fill);
    // Zeros go between the sign and the digits, as printf puts them.
    if (fill == '0' && text.startsWith('-'))
        return '-' + pad + text.mid(1);
    return pad + text;
}

} // namespace

QByteArray formatText(const QByteArray &format, const QList<FormatArg> &args)
{
    QByteArray out;
    out.reserve(format.size() + 16);
    int next = 0; // index of the next value
    const int n = format.size();
    int i = 0;
    while (i < n) {
        const char c = format.at(i);
        if (c != '%') {
            out += c;
            ++i;
            continue;
        }
        if (i + 1 < n && format.at(i + 1) == '%') {
            out += '%';
            i += 2;
            continue;
        }
        // Parse "%" ["0"] [width] ("d" | "s").
        int j = i + 1;
        bool zero = false;
        if (j < n && format.at(j) == '0') {
            zero = true;
            ++j;
        }
        int width = 0;
        bool widthOk = true;
        while (j < n && isDigit(format.at(j))) {
            width = width * 10 + (format.at(j) - '0');
            if (width > kMaxWidth)
                widthOk = false;
            if (width > 1000000)
                width = 1000000; // keep counting digits without overflow
            ++j;
        }
        const char conv = j < n ? format.at(j) : '\0';
        if (!widthOk || (conv != 'd' && conv != 's')) {
            // Not a conversion we know: the "%" is copied and scanning goes on after it, so
            // the rest of the sequence is copied as plain bytes.
            out += '%';
            ++i;
            continue;
        }
        i = j + 1;
        if (next >= args.size())
            continue; // no value left: the conversion draws nothing
        const FormatArg &arg = args.at(next++);
        if (conv == 'd') {
            if (arg.type != FormatArg::Number)
                continue;
            out += padded(QByteArray::number(arg.num), width, zero ? '0' : ' ');
        } else {
            const QByteArray text = arg.type == FormatArg::Text ? arg.str : QByteArray::number(arg.num);
            out += padded(text, width, ' ');
        }
    }
    return out;
}
