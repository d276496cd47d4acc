#include "dialogs/NumberFormat.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

namespace velmar {
namespace {

// A sentinel that a failed read must leave in place.
constexpr uint32_t kUntouched = 0xDEADBEEF;

uint32_t Hex(const std::string& text, bool* ok = nullptr) {
  uint32_t value = kUntouched;
  const bool result = ReadHex(text, value);
  if (ok != nullptr) *ok = result;
  return value;
}

TEST(ReadHexTest, AcceptsThePrefixBlanksAndSignTheFieldsAreTypedWith) {
  bool ok = false;
  EXPECT_EQ(Hex("0x1F", &ok), 31u);
  EXPECT_TRUE(ok);
  EXPECT_EQ(Hex("1f", &ok), 31u);
  EXPECT_TRUE(ok);
  EXPECT_EQ(Hex("  0X1f", &ok), 31u);
  EXPECT_TRUE(ok);
  EXPECT_EQ(Hex("+ff", &ok), 255u);
  EXPECT_TRUE(ok);
  EXPECT_EQ(Hex("FFFFFFFF", &ok), 0xFFFFFFFFu);
  EXPECT_TRUE(ok);
  EXPECT_EQ(Hex("0", &ok), 0u);
  EXPECT_TRUE(ok);
}

TEST(ReadHexTest, RefusesWhatDoesNotParseToTheEndAndLeavesTheValue) {
  for (const char* text : {"1G", "", "   ", "0x", "0xG", "12 ", "1 2", "x1", "-1", "-0x1", "0x-1", "++1"}) {
    bool ok = true;
    EXPECT_EQ(Hex(text, &ok), kUntouched) << '"' << text << '"';
    EXPECT_FALSE(ok) << '"' << text << '"';
  }
}

TEST(ReadHexTest, RefusesValuesAboveThirtyTwoBitsAndOverlongTexts) {
  bool ok = true;
  EXPECT_EQ(Hex("100000000", &ok), kUntouched);  // would wrap to 0 if cut to 32 bits
  EXPECT_FALSE(ok);
  EXPECT_EQ(Hex("10000000000000001", &ok), kUntouched);  // wraps a 64-bit parser
  EXPECT_FALSE(ok);
  // 31 characters are taken, 32 are refused even when the value is small.
  EXPECT_EQ(Hex(std::string(30, '0') + "1", &ok), 1u);
  EXPECT_TRUE(ok);
  EXPECT_EQ(Hex(std::string(31, '0') + "1", &ok), kUntouched);
  EXPECT_FALSE(ok);
}

TEST(ReadDecimalTest, ParsesBaseTenToTheEndOfTheText) {
  uint32_t value = kUntouched;
  EXPECT_TRUE(ReadDecimal("  1990", value));
  EXPECT_EQ(value, 1990u);
  EXPECT_TRUE(ReadDecimal("4294967295", value));
  EXPECT_EQ(value, 4294967295u);
  EXPECT_TRUE(ReadDecimal("+7", value));
  EXPECT_EQ(value, 7u);
  // A hexadecimal prefix is not a decimal number: "0" is read, "x10" is left over.
  value = kUntouched;
  for (const char* text : {"12 ", "", "0x10", "1F", "-3", "12.5", "4294967296", "4294967297",
                           "18446744073709551617"}) {
    EXPECT_FALSE(ReadDecimal(text, value)) << '"' << text << '"';
    EXPECT_EQ(value, kUntouched) << '"' << text << '"';
  }
}

TEST(ReadSignedDecimalTest, TakesAMinusSignWithinThirtyTwoSignedBits) {
  int32_t value = 0;
  EXPECT_TRUE(ReadSignedDecimal("-2147483648", value));
  EXPECT_EQ(value, INT32_MIN);
  EXPECT_TRUE(ReadSignedDecimal(" 2147483647", value));
  EXPECT_EQ(value, INT32_MAX);
  EXPECT_TRUE(ReadSignedDecimal("-0", value));
  EXPECT_EQ(value, 0);
  value = 5;
  EXPECT_FALSE(ReadSignedDecimal("2147483648", value));
  EXPECT_FALSE(ReadSignedDecimal("-2147483649", value));
  EXPECT_FALSE(ReadSignedDecimal("-", value));
  EXPECT_FALSE(ReadSignedDecimal("--1", value));
  EXPECT_EQ(value, 5);
}

TEST(ParseRealTest, AddsTheSmallBiasInTheValuesDirection) {
  double value = 0;
  EXPECT_TRUE(ParseReal(" 63.99 ", value));
  EXPECT_DOUBLE_EQ(value, 63.99000001);
  EXPECT_TRUE(ParseReal("-0.5", value));
  EXPECT_DOUBLE_EQ(value, -0.50000001);
  EXPECT_TRUE(ParseReal("", value));
  EXPECT_DOUBLE_EQ(value, 0.00000001);
  EXPECT_TRUE(ParseReal("    ", value));
  EXPECT_DOUBLE_EQ(value, 0.00000001);
  EXPECT_TRUE(ParseReal("7.", value));
  EXPECT_DOUBLE_EQ(value, 7.00000001);
  // The bias is what makes the cents of a typed value come out whole.
  EXPECT_TRUE(ParseReal("0.29", value));
  EXPECT_EQ(static_cast<int>(value * 100), 29);
}

TEST(ParseRealTest, CountsOnlySevenFractionDigits) {
  double value = 0;
  EXPECT_TRUE(ParseReal("0.123456789", value));
  EXPECT_DOUBLE_EQ(value, 0.1234567 + 0.00000001);
  EXPECT_TRUE(ParseReal("2.0000000999", value));
  EXPECT_DOUBLE_EQ(value, 2.00000001);
}

TEST(ParseRealTest, RefusesAnythingButOneNumberBetweenBlanks) {
  for (const char* text : {"1.2.3", ".5", "-", "-.5", "+1", "1e3", "1,5", "1 2", "1-", "abc", "1.5x", "- 1"}) {
    double value = 42;
    EXPECT_FALSE(ParseReal(text, value)) << '"' << text << '"';
    EXPECT_EQ(value, 42) << '"' << text << '"';
  }
  double value = 42;
  EXPECT_FALSE(ParseReal(std::string(32, '1'), value));
}

TEST(WriteHexTest, WidthAndPrefix) {
  EXPECT_EQ(WriteHex(2, 5, true), "0x05");
  EXPECT_EQ(WriteHex(0, 5, false), "5");
  EXPECT_EQ(WriteHex(0, 0xAB, true), "0xAB");
  EXPECT_EQ(WriteHex(4, 0xAB, false), "00AB");
  EXPECT_EQ(WriteHex(2, 0x1234, false), "1234");  // a width never cuts digits
  EXPECT_EQ(WriteHex(8, 0xFFFFFFFF, true), "0xFFFFFFFF");
  EXPECT_EQ(WriteHexLower(0xAB), "ab");
  EXPECT_EQ(WriteHexLower(0), "0");
}

TEST(WriteFixedTest, WritesOnlyTheDecimalsAValueNeeds) {
  EXPECT_EQ(WriteFixed(1, 2.2, 3), "2.2");
  EXPECT_EQ(WriteFixed(1, 3, 3), "3.0");
  EXPECT_EQ(WriteFixed(0, 3, 3), "3");
  EXPECT_EQ(WriteFixed(0, 0.5, 2), "0.5");
  EXPECT_EQ(WriteFixed(0, 1.23456789, 3), "1.235");
  EXPECT_EQ(WriteFixed(0, -1.25, 4), "-1.25");
  // Binary fractions a little off their decimal value count as whole.
  EXPECT_EQ(WriteFixed(0, 63.99, 4), "63.99");
  EXPECT_EQ(WriteFixed(0, 0.1 + 0.2, 6), "0.3");
  EXPECT_EQ(WriteFixed(2, 0.0, 4), "0.00");
  EXPECT_EQ(WriteFixed(1, -0.0, 4), "0.0");
  EXPECT_EQ(WriteFixed(0, -0.0, 0), "0");
}

TEST(RoundHalfAwayTest, HalvesGoAwayFromZero) {
  EXPECT_EQ(RoundHalfAway(2.5), 3);
  EXPECT_EQ(RoundHalfAway(-2.5), -3);
  EXPECT_EQ(RoundHalfAway(2.49), 2);
  EXPECT_EQ(RoundHalfAway(-2.49), -2);
  EXPECT_EQ(RoundHalfAway(0.5), 1);
  EXPECT_EQ(RoundHalfAway(-0.5), -1);
  EXPECT_EQ(RoundHalfAway(0.0), 0);
  EXPECT_EQ(RoundHalfAway(1e30), INT64_MAX);
  EXPECT_EQ(RoundHalfAway(-1e30), INT64_MIN);
  EXPECT_EQ(RoundHalfAway(std::numeric_limits<double>::quiet_NaN()), 0);
}

}  // namespace
}  // namespace velmar
