#include "base/Rc4.h"

#include <array>
#include <utility>

QByteArray rc4(const QByteArray& key, const QByteArray& data)
{
    if (key.isEmpty())
        return data;
    std::array<unsigned char, 256> s{};
    for (int i = 0; i < 256; ++i)
        s[size_t(i)] = static_cast<unsigned char>(i);
    for (int i = 0, j = 0; i < 256; ++i) {
        j = (j + s[size_t(i)] + static_cast<unsigned char>(key.at(i % key.size()))) & 0xFF;
        std::swap(s[size_t(i)], s[size_t(j)]);
    }
    QByteArray out(data.size(), Qt::Uninitialized);
    int i = 0;
    int j = 0;
    for (qsizetype n = 0; n < data.size(); ++n) {
        i = (i + 1) & 0xFF;
        j = (j + s[size_t(i)]) & 0xFF;
        std::swap(s[size_t(i)], s[size_t(j)]);
        const unsigned char k = s[size_t((s[size_t(i)] + s[size_t(j)]) & 0xFF)];
        out[n] = char(static_cast<unsigned char>(data.at(n)) ^ k);
    }
    return out;
}
