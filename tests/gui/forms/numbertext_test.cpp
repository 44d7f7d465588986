#include "gui/forms/numbertext.h"

#include <gtest/gtest.h>

#include <QLineEdit>

#include <cmath>

namespace {

// The one rule of the tree's cells and the dialogs' fields, as a double and
// as a float.
TEST(NumberText, ReadsOneNumberByOneRule)
{
    constexpr NumberReading N = NumberReading::Number, X = NumberReading::NotANumber,
                            R = NumberReading::OutOfRange;
    const struct
    {
        const char *text;
        NumberReading reading;
        double value;
        NumberReading asFloat;
    } rows[] = {
        {"1,5", N, 1.5, N},          {",25", N, 0.25, N},         {" +2.5e3\t", N, 2500, N},
        {"-.5", N, -0.5, N},         {"\u00a0" "7\u2003", N, 7, N}, {"3.4e38", N, 3.4e38, N},
        {"1e39", N, 1e39, R},        {"-3.5e38", N, -3.5e38, R},  {"", X, 0, X},
        {" ", X, 0, X},              {"1.5,2", X, 0, X},          {"1,5,2", X, 0, X},
        {"1.000,5", X, 0, X},        {"0.25x", X, 0, X},          {"0.2.5", X, 0, X},
        {"+-1", X, 0, X},            {"++1", X, 0, X},            {"0x10", X, 0, X},
        {"1 000", X, 0, X},          {"1e", X, 0, X},             {"inf", R, 0, R},
        {"-nan", R, 0, R},           {"1e400", R, 0, R},
    };
    for (const auto &row : rows) {
        const QString text = QString::fromUtf8(row.text);
        double value = -1.0;
        float single = -1.0f;
        EXPECT_EQ(ReadNumberText(text, &value), row.reading) << row.text;
        EXPECT_EQ(ReadFloatText(text, &single), row.asFloat) << row.text;
        EXPECT_EQ(value, row.reading == N ? row.value : -1.0) << row.text; // set only for a number
        EXPECT_EQ(single, row.asFloat == N ? static_cast<float>(row.value) : -1.0f) << row.text;
        EXPECT_EQ(NumberOrZero(text), row.reading == N ? row.value : 0.0) << row.text;
    }
}

// A field reads empty as 0 and no number as NaN; a written value comes back
// unrounded until the text changes.
TEST(NumberText, AFieldReadsByTheSameRule)
{
    QLineEdit edit;
    EXPECT_EQ(ReadFieldNumber(&edit), 0.0);
    edit.setText("0.25x");
    EXPECT_TRUE(std::isnan(ReadFieldNumber(&edit)));
    WriteFieldNumber(&edit, 0.1234567);
    EXPECT_EQ(edit.text(), "0.123457");
    EXPECT_EQ(ReadFieldNumber(&edit), 0.1234567);
    edit.setText("0,5");
    EXPECT_EQ(ReadFieldNumber(&edit), 0.5);
}

} // namespace
