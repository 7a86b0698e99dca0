#include "json_writer.h"

#include <QStringList>

#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <cmath>

using korbisto::cli::JsonWriter;

namespace {

// What reached the sink, and in which pieces.
struct Received {
    QByteArray bytes;
    std::vector<qsizetype> blocks;
    JsonWriter::Sink sink() {
        return [this](const char* data, qsizetype size) {
            bytes.append(data, size);
            blocks.push_back(size);
        };
    }
};

QByteArray written(const std::function<void(JsonWriter&)>& write) {
    Received received;
    {
        JsonWriter json(received.sink());
        write(json);
        json.finish();
    }
    return received.bytes;
}

}  // namespace

TEST(JsonWriter, EscapesOnlyWhatJsonNeeds) {
    struct Case {
        QString text;
        QByteArray json;
    };
    QString loneSurrogates;
    loneSurrogates += QChar(0xD83D);
    loneSurrogates += u'a';
    loneSurrogates += QChar(0xDE00);
    const Case cases[] = {
        {QString(), R"("")"},
        {QStringLiteral("FC Köln"), "\"FC K\xC3\xB6ln\""},
        {QStringLiteral("\"Die \\Borussen\""), R"("\"Die \\Borussen\"")"},
        {QStringLiteral("a\nb\rc\td"), R"("a\nb\rc\td")"},
        {QString(QChar(0)) + QChar(1) + QChar(0x1F) + QChar(0x7F) + QChar(u' '), "\"\\u0000\\u0001\\u001f\x7F \""},
        {QStringLiteral("/ <script> &"), R"("/ <script> &")"},
        {QStringLiteral("€ 1.000,50 für Zweiweg ß"), "\"\xE2\x82\xAC 1.000,50 f\xC3\xBCr Zweiweg \xC3\x9F\""},
        {QString::fromUtf8("\xF0\x9F\x98\x80 Tor!"), "\"\xF0\x9F\x98\x80 Tor!\""},
        // As QString::toUtf8 treats halves of a pair that do not meet.
        {loneSurrogates, R"("?a?")"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(written([&](JsonWriter& json) { json.string(c.text); }), c.json + '\n') << c.text.toStdString();
        EXPECT_EQ(written([&](JsonWriter& json) { json.beginObject().key(c.text).null().endObject(); }),
                  '{' + c.json + ":null}\n")
            << c.text.toStdString();
    }
}

TEST(JsonWriter, CommasAndNestingWithoutSpaces) {
    struct Case {
        std::function<void(JsonWriter&)> write;
        QByteArray json;
    };
    const Case cases[] = {
        {[](JsonWriter& j) { j.beginObject().endObject(); }, "{}"},
        {[](JsonWriter& j) { j.beginArray().endArray(); }, "[]"},
        {[](JsonWriter& j) { j.beginArray().number(0).number(-7).null().boolean(true).boolean(false).endArray(); },
         "[0,-7,null,true,false]"},
        {[](JsonWriter& j) { j.number(LLONG_MIN); }, "-9223372036854775808"},
        {[](JsonWriter& j) { j.number(LLONG_MAX); }, "9223372036854775807"},
        {[](JsonWriter& j) {
             j.beginObject().key(u"a").beginArray().endArray().key(u"b").beginObject().endObject();
             j.key(u"c").beginArray().beginArray().number(1).endArray().beginObject().key(u"d").number(2).endObject();
             j.endArray().key(u"e").string(u"x").endObject();
         },
         R"({"a":[],"b":{},"c":[[1],{"d":2}],"e":"x"})"},
        {[](JsonWriter& j) { j.strings(QStringList{"1", "", "0"}); }, R"(["1","","0"])"},
        {[](JsonWriter& j) { j.beginArray().strings(QStringList()).strings(QStringList{"2"}).endArray(); },
         R"([[],["2"]])"},
    };
    for (const Case& c : cases) EXPECT_EQ(written(c.write), c.json + '\n');
}

// Numbers as a reader takes them back: amounts to the cent from whole cents,
// rounded as formatAmount() rounds their exact value (2.675 is 2.67499…), other reals the shortest way, whole ones without an exponent; rows as 13
// characters.
TEST(JsonWriter, AmountsRealsAndRows) {
    struct Case {
        std::function<void(JsonWriter&)> write;
        QByteArray json;
    };
    const std::array<std::uint8_t, korbisto::kMatches> mixed{1, 2, 3, 0, 4, 1, 1, 1, 1, 1, 1, 1, 3};
    const Case cases[] = {
        {[](JsonWriter& j) { j.amount(1234.5); }, "1234.5"},
        {[](JsonWriter& j) { j.amount(1000000); }, "1000000"},
        {[](JsonWriter& j) { j.amount(0.1 + 0.2); }, "0.3"},
        {[](JsonWriter& j) { j.amount(0.125); }, "0.13"},
        {[](JsonWriter& j) { j.amount(16344.0 / 81); }, "201.78"},
        {[](JsonWriter& j) { j.amount(0.05); }, "0.05"},
        {[](JsonWriter& j) { j.amount(2.675); }, "2.67"},
        {[](JsonWriter& j) { j.amount(1.115); }, "1.11"},
        {[](JsonWriter& j) { j.amount(0); }, "0"},
        {[](JsonWriter& j) { j.real(0.1); }, "0.1"},
        {[](JsonWriter& j) { j.real(1e6); }, "1000000"},
        {[](JsonWriter& j) { j.real(1.0 / 3); }, "0.3333333333333333"},
        {[](JsonWriter& j) { j.real(2e-9); }, "2e-09"},
        {[](JsonWriter& j) { j.beginArray().real(std::nan("")).real(HUGE_VAL).endArray(); }, "[null,null]"},
        {[&](JsonWriter& j) { j.tips(mixed); }, R"("102-?11111112")"},
    };
    for (const Case& c : cases) EXPECT_EQ(written(c.write), c.json + '\n');
}

TEST(JsonWriter, HandsOnFullBlocksAsItGoes) {
    Received received;
    JsonWriter json(received.sink());
    json.beginArray();
    const QString item = QStringLiteral("1,0,2,1,0");  // 12 bytes with quotes and comma
    for (int i = 0; i < 5000; ++i) json.string(item);
    EXPECT_TRUE(received.blocks.empty()) << "60 KB are still held";
    for (int i = 0; i < 200000; ++i) json.string(item);
    EXPECT_FALSE(received.blocks.empty());
    for (qsizetype block : received.blocks) {
        EXPECT_GE(block, JsonWriter::kBlock);
        EXPECT_LT(block, JsonWriter::kBlock + 12);
    }
    json.endArray().finish();
    ASSERT_GE(received.blocks.size(), 2u);
    EXPECT_LT(received.blocks.back(), JsonWriter::kBlock);
    const QByteArray expected = "[\"1,0,2,1,0\"" + QByteArray(",\"1,0,2,1,0\"").repeated(204999) + "]\n";
    EXPECT_EQ(received.bytes, expected);
}

TEST(JsonWriter, WhatWasWrittenIsHandedOnEvenWithoutFinish) {
    Received received;
    {
        JsonWriter json(received.sink());
        json.beginArray().string(u"a");
    }
    EXPECT_EQ(received.bytes, QByteArray(R"(["a")"));
}
