#include "Fensterplatz.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <gtest/gtest.h>

TEST(Fensterplatz, FensterAufDemBildschirmBleibtWoEsIst) {
    EXPECT_EQ(HalteAufBildschirm(QRect(100, 50, 400, 300), QSize(1024, 768)), QPoint(100, 50));
    // Touching the right and bottom edges exactly is still on the screen.
    EXPECT_EQ(HalteAufBildschirm(QRect(624, 468, 400, 300), QSize(1024, 768)), QPoint(624, 468));
}

TEST(Fensterplatz, RechterUndUntererRandWerdenZurueckgeholt) {
    // Stored 2000,100 on a 1024-wide screen: the right edge ends on the screen's right edge.
    EXPECT_EQ(HalteAufBildschirm(QRect(2000, 100, 500, 400), QSize(1024, 768)), QPoint(524, 100));
    // One pixel over the edge moves the window by one pixel.
    EXPECT_EQ(HalteAufBildschirm(QRect(625, 469, 400, 300), QSize(1024, 768)), QPoint(624, 468));
    EXPECT_EQ(HalteAufBildschirm(QRect(10, 5000, 400, 300), QSize(1024, 768)), QPoint(10, 468));
}

TEST(Fensterplatz, NegativeLageWirdNull) {
    EXPECT_EQ(HalteAufBildschirm(QRect(-50, -7, 400, 300), QSize(1024, 768)), QPoint(0, 0));
    EXPECT_EQ(HalteAufBildschirm(QRect(-50, 20, 400, 300), QSize(1024, 768)), QPoint(0, 20));
}

TEST(Fensterplatz, ZuGrossesFensterLandetObenLinks) {
    EXPECT_EQ(HalteAufBildschirm(QRect(300, 200, 1300, 900), QSize(1024, 768)), QPoint(0, 0));
    EXPECT_EQ(HalteAufBildschirm(QRect(-300, -200, 1300, 900), QSize(1024, 768)), QPoint(0, 0));
}

TEST(Fensterplatz, LeeresFensterZaehltAlsEinPixel) {
    // Width 0 counts as 1: at x = 1023 it is still on a 1024-wide screen, at 1024 it moves to 1023.
    EXPECT_EQ(HalteAufBildschirm(QRect(1023, 767, 0, 0), QSize(1024, 768)), QPoint(1023, 767));
    EXPECT_EQ(HalteAufBildschirm(QRect(1024, 768, 0, 0), QSize(1024, 768)), QPoint(1023, 767));
}

TEST(Fensterplatz, ZentrierenUeberDemBezug) {
    // (800 - 400) / 2 = 200, (600 - 300) / 2 = 150.
    EXPECT_EQ(ZentriereUeber(QRect(0, 0, 400, 300), QRect(100, 50, 800, 600)), QPoint(300, 200));
    // Odd differences: 401 / 2 = 200, 301 / 2 = 150.
    EXPECT_EQ(ZentriereUeber(QRect(0, 0, 399, 299), QRect(100, 50, 800, 600)), QPoint(300, 200));
    // Larger than the reference: -401 / 2 = -200 (toward zero, not -201); 10 - 200 = -190.
    EXPECT_EQ(ZentriereUeber(QRect(0, 0, 601, 403), QRect(10, 20, 200, 100)), QPoint(-190, -131));
    // Reference partly off the screen: the result may be negative; the screen check comes after.
    EXPECT_EQ(ZentriereUeber(QRect(0, 0, 100, 100), QRect(-500, -300, 201, 101)), QPoint(-450, -300));
}

TEST(Fensterplatz, FormenWerdenVerschobenNichtVergroessert) {
    QWidget bezug;
    bezug.setGeometry(100, 100, 600, 400);
    QWidget form;
    form.resize(200, 100);
    ZentriereFormUeber(&form, &bezug);
    EXPECT_EQ(form.frameGeometry().topLeft() - bezug.frameGeometry().topLeft(),
              QPoint((bezug.frameGeometry().width() - 200) / 2, (bezug.frameGeometry().height() - 100) / 2));

    const QSize bildschirm = QGuiApplication::primaryScreen()->availableGeometry().size();
    form.move(bildschirm.width() + 500, -40);
    HalteFormAufBildschirm(&form);
    EXPECT_EQ(form.frameGeometry().right(), bildschirm.width() - 1);
    EXPECT_EQ(form.frameGeometry().top(), 0);
    EXPECT_EQ(form.size(), QSize(200, 100));
}
