#include "runtime/text.h"

#include <climits>

int64_t textToInt64(const char* text) {
  if (!text) return 0;
  const char* p = text;
  while (*p == ' ' || *p == '\t' || *p == '\n' || *p == '\r' || *p == '\v' || *p == '\f') ++p;
  bool negative = false;
  if (*p == '+' || *p == '-') negative = (*p++ == '-');
  uint64_t value = 0;
  const uint64_t limit = negative ? uint64_t(INT64_MAX) + 1 : uint64_t(INT64_MAX);
  for (; *p >= '0' && *p <= '9'; ++p) {
    value = value * 10 + uint64_t(*p - '0');
    if (value > limit) { value = limit; break; }
  }
  if (negative) return value == uint64_t(INT64_MAX) + 1 ? INT64_MIN : -int64_t(value);
  return int64_t(value);
}

int formatDecimal(int64_t value, char* buf) {
  char digits[20];
  int n = 0;
  uint64_t magnitude = value < 0 ? 0 - uint64_t(value) : uint64_t(value);
  do {
    digits[n++] = char('0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude);
  int len = 0;
  if (value < 0) buf[len++] = '-';
  while (n) buf[len++] = digits[--n];
  buf[len] = 0;
  return len;
}

Text decimalText(int64_t value) {
  char buf[24];
  int len = formatDecimal(value, buf);
  return Text(buf, size_t(len));
}
