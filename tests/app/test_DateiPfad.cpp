#include "DateiPfad.h"

#include <gtest/gtest.h>

namespace {

struct TFall {
    const char* name;
    QByteArray bytes;
    QString text; // what a person reads
};

TEST(DateiPfad, BytesUndTextFuehrenZumSelbenNamenZurueck) {
    const TFall faelle[] = {
        {"ascii", QByteArray("spiel.mzf"), QStringLiteral("spiel.mzf")},
        {"umlaut in UTF-8", QByteArray("s\xc3\xbc\xc3\x9f.mzf"), QString::fromUtf8("süß.mzf")},
        {"four-byte character", QByteArray("\xf0\x9f\x9a\xa2.mzf"),
         QString::fromUtf8("\xf0\x9f\x9a\xa2.mzf")},
        {"stray byte",
         QByteArray("a\xff"
                    "b"),
         QStringLiteral("a") + QChar(0xDCFF) + QStringLiteral("b")},
        {"Latin-1 umlaut", QByteArray("\xfc"), QString(QChar(0xDCFC))},
        {"cut-off sequence", QByteArray("x\xc3"), QStringLiteral("x") + QChar(0xDCC3)},
        {"overlong slash", QByteArray("\xc0\xaf"), QString(QChar(0xDCC0)) + QChar(0xDCAF)},
        {"encoded surrogate", QByteArray("\xed\xa0\x80"),
         QString(QChar(0xDCED)) + QChar(0xDCA0) + QChar(0xDC80)},
        {"beyond Unicode", QByteArray("\xf4\x90\x80\x80"),
         QString(QChar(0xDCF4)) + QChar(0xDC90) + QChar(0xDC80) + QChar(0xDC80)},
    };
    for (const TFall& fall : faelle) {
        EXPECT_EQ(PfadAusBytes(fall.bytes), fall.text) << fall.name;
        EXPECT_EQ(PfadAlsBytes(fall.text), fall.bytes) << fall.name;
    }
}

TEST(DateiPfad, EchteSurrogatpaareBleibenZeichen) {
    // U+1F6A2 is the pair D83D DEA2; its low half lies outside the escape range anyway, but a
    // pair whose low half is DC80..DCFF must not be taken for escaped bytes either.
    const QString paar = QString(QChar(0xD83D)) + QChar(0xDC80); // U+1F480
    EXPECT_EQ(PfadAlsBytes(paar), QByteArray("\xf0\x9f\x92\x80"));
    EXPECT_EQ(PfadAusBytes(PfadAlsBytes(paar)), paar);
}

} // namespace
