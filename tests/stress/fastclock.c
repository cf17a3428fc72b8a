/* A wall clock of our choosing for 32-bit x86 processes built with a 64-bit
 * time_t, such as Debian's 32-bit Wine 8, preloaded with LD_PRELOAD.
 * libfaketime 0.9.10 (Debian 12) wraps clock_gettime but not
 * __clock_gettime64, which those processes call, so it leaves their clock
 * alone; this wraps that one (and the other wall-clock calls) and reads the
 * same variable, in one of two of libfaketime's forms:
 *
 *   FAKETIME="@2026-03-01 00:00:00 x600"   from the moment the library is
 *       loaded, the wall clock starts at that UTC time and runs 600 times
 *       as fast (the soak's month);
 *   FAKETIME="+86400" or "-3600"            the real wall clock moved on or
 *       back by that many seconds: every process started with the same
 *       value reads the same moment (the test run's held clock).
 *
 * Monotonic clocks are never touched (as libfaketime's
 * FAKETIME_DONT_FAKE_MONOTONIC=1). Any other form of FAKETIME, or none,
 * leaves the clock real.
 *
 * Built without the C library's headers or libgcc (only the 64-bit
 * toolchain is installed): gcc -m32 -shared -nostdlib. */

typedef long long i64;
typedef unsigned long long u64;

/* glibc's i386 layouts with a 64-bit time_t. */
struct timespec64 {
  i64 tv_sec;
  int tv_nsec;
  int padding;
};
struct timeval64 {
  i64 tv_sec;
  i64 tv_usec;
};
struct timespec32 {
  int tv_sec;
  int tv_nsec;
};
struct timeval32 {
  int tv_sec;
  int tv_usec;
};

char *getenv(const char *name);
void *dlsym(void *handle, const char *name);
#define RTLD_NEXT ((void *)-1L)

enum { ClockRealtime = 0, ClockRealtimeCoarse = 5 };
static const u64 NsPerSecond = 1000000000ULL;

static int (*real_clock_gettime64)(int, struct timespec64 *);
static int faking;
static u64 origin_ns;    /* real time when loaded */
static u64 start_ns;     /* the fake time at that moment */
static i64 offset_ns;    /* or, with rate 1, the fake time's distance from the real one */
static int relative;
static unsigned rate_num = 1, rate_den = 1;

/* 64-bit by 32-bit division without libgcc's helpers. */
static u64 divide(u64 n, unsigned d, unsigned *remainder) {
  u64 q = 0, r = 0;
  for (int bit = 63; bit >= 0; --bit) {
    r = (r << 1) | ((n >> bit) & 1);
    if (r >= d) {
      r -= d;
      q |= 1ULL << bit;
    }
  }
  if (remainder) *remainder = (unsigned)r;
  return q;
}

static int digits(const char **text, int count) {
  int value = 0;
  for (int i = 0; i < count; ++i, ++*text) {
    if (**text < '0' || **text > '9') return -1;
    value = value * 10 + (**text - '0');
  }
  return value;
}

/* Days from 1970-01-01 to a proleptic Gregorian date. */
static i64 days_from_civil(int y, int m, int d) {
  y -= m <= 2;
  const int era = (y >= 0 ? y : y - 399) / 400;
  const int yoe = y - era * 400;
  const int doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return (i64)era * 146097 + doe - 719468;
}

/* "+N" or "-N" seconds: the offset. */
static int parse_offset(const char *text) {
  const int sign = *text++ == '-' ? -1 : 1;
  i64 seconds = 0;
  if (!*text) return 0;
  for (; *text; ++text) {
    if (*text < '0' || *text > '9' || seconds > 100000000000LL) return 0;
    seconds = seconds * 10 + (*text - '0');
  }
  offset_ns = sign * seconds * (i64)NsPerSecond;
  relative = 1;
  return 1;
}

/* "@YYYY-MM-DD hh:mm:ss xN" or "... xN.M": the start and the rate. */
static int parse(const char *text) {
  if (text && (*text == '+' || *text == '-')) return parse_offset(text);
  if (!text || *text++ != '@') return 0;
  int y = digits(&text, 4), mo = (*text++ == '-') ? digits(&text, 2) : -1;
  int d = (*text++ == '-') ? digits(&text, 2) : -1;
  int h = (*text++ == ' ') ? digits(&text, 2) : -1;
  int mi = (*text++ == ':') ? digits(&text, 2) : -1;
  int s = (*text++ == ':') ? digits(&text, 2) : -1;
  if (y < 0 || mo < 1 || d < 1 || h < 0 || mi < 0 || s < 0) return 0;
  while (*text == ' ') ++text;
  if (*text++ != 'x') return 0;
  rate_num = 0;
  rate_den = 1;
  int fraction = 0;
  for (; *text; ++text) {
    if (*text == '.' || *text == ',') {
      fraction = 1;
      continue;
    }
    if (*text < '0' || *text > '9' || rate_num > 100000000) return 0;
    rate_num = rate_num * 10 + (unsigned)(*text - '0');
    if (fraction) rate_den *= 10;
  }
  if (rate_num == 0) return 0;
  start_ns = (u64)((days_from_civil(y, mo, d) * 86400 + h * 3600 + mi * 60 + s)) * NsPerSecond;
  return 1;
}

static u64 real_ns(int clock) {
  struct timespec64 now = {0, 0, 0};
  if (real_clock_gettime64) real_clock_gettime64(clock, &now);
  return (u64)now.tv_sec * NsPerSecond + (unsigned)now.tv_nsec;
}

/* The fake wall clock now, from the real one: start + elapsed * rate. */
static u64 fake_ns(u64 real) {
  const u64 elapsed = real > origin_ns ? real - origin_ns : 0;
  unsigned remainder = 0;
  const u64 seconds = divide(elapsed, (unsigned)NsPerSecond, &remainder);
  /* seconds * rate and the nanoseconds * rate, each divided by the rate's denominator. */
  const u64 scaled_seconds = divide(seconds * rate_num, rate_den, 0);
  const u64 seconds_left = seconds * rate_num - scaled_seconds * rate_den;
  const u64 scaled_ns = divide((u64)remainder * rate_num + seconds_left * NsPerSecond, rate_den, 0);
  return start_ns + scaled_seconds * NsPerSecond + scaled_ns;
}

__attribute__((constructor)) static void start(void) {
  real_clock_gettime64 = (int (*)(int, struct timespec64 *))dlsym(RTLD_NEXT, "__clock_gettime64");
  if (!real_clock_gettime64 || !parse(getenv("FAKETIME"))) return;
  origin_ns = real_ns(ClockRealtime);
  if (relative) start_ns = origin_ns + (u64)offset_ns;
  faking = 1;
}

static u64 wall_ns(void) { return faking ? fake_ns(real_ns(ClockRealtime)) : real_ns(ClockRealtime); }

int __clock_gettime64(int clock, struct timespec64 *now) {
  if (!real_clock_gettime64) return -1;
  if (!faking || (clock != ClockRealtime && clock != ClockRealtimeCoarse)) return real_clock_gettime64(clock, now);
  unsigned ns = 0;
  const u64 seconds = divide(fake_ns(real_ns(clock)), (unsigned)NsPerSecond, &ns);
  now->tv_sec = (i64)seconds;
  now->tv_nsec = (int)ns;
  now->padding = 0;
  return 0;
}

int clock_gettime(int clock, struct timespec32 *now) {
  struct timespec64 wide;
  const int result = __clock_gettime64(clock, &wide);
  now->tv_sec = (int)wide.tv_sec;
  now->tv_nsec = wide.tv_nsec;
  return result;
}

int __gettimeofday64(struct timeval64 *now, void *zone) {
  (void)zone;
  unsigned ns = 0;
  now->tv_sec = (i64)divide(wall_ns(), (unsigned)NsPerSecond, &ns);
  now->tv_usec = ns / 1000;
  return 0;
}

int gettimeofday(struct timeval32 *now, void *zone) {
  struct timeval64 wide;
  __gettimeofday64(&wide, zone);
  now->tv_sec = (int)wide.tv_sec;
  now->tv_usec = (int)wide.tv_usec;
  return 0;
}

i64 __time64(i64 *out) {
  const i64 seconds = (i64)divide(wall_ns(), (unsigned)NsPerSecond, 0);
  if (out) *out = seconds;
  return seconds;
}

int time(int *out) {
  const int seconds = (int)__time64(0);
  if (out) *out = seconds;
  return seconds;
}
