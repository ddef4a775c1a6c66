// Fixed-corpus driver for a reader's libFuzzer entry point (see LwFuzz.cmake).
// Derives truncated, bit-flipped, field-overwritten and random inputs from seed files with a fixed
// pseudo-random sequence, so every run feeds the reader exactly the same bytes.
//
// Each input also has a budget of time (--max-ms) and of memory (--max-rss-mb, the growth of
// the peak resident size while it runs): work out of proportion to the input is a failure like
// a sanitizer report. The worst figures are printed at the end, to set the budgets by.
#include <chrono>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size);

namespace {

struct Rng {
  uint64_t s;
  uint64_t next()
  {
    uint64_t z = (s += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  size_t below(size_t n) { return n ? size_t(next() % n) : 0; }
};

size_t g_runs = 0;
long g_maxMs = 0;    // 0: no budget
long g_maxRssKb = 0; // 0: no budget
double g_worstMs = 0;
long g_worstRssKb = 0;
const char *g_source = "random";

// A field of /proc/self/status in kB, or -1.
long statusKb(const char *field)
{
  std::ifstream in("/proc/self/status");
  std::string line;
  const size_t n = std::strlen(field);
  while (std::getline(in, line))
    if (line.compare(0, n, field) == 0)
      return std::atol(line.c_str() + n);
  return -1;
}

// Makes the peak resident size start again from the current size (Linux 4.0 and later).
void resetPeak()
{
  std::ofstream out("/proc/self/clear_refs");
  out << "5";
}

void onAlarm(int)
{
  static const char message[] = "input exceeded its time budget by far (hang?)\n";
  (void)!::write(2, message, sizeof message - 1);
  _exit(1);
}

void run(const std::vector<uint8_t> &input)
{
  // Copy into an exactly sized heap block so that reads past the end are caught.
  uint8_t *copy = static_cast<uint8_t *>(std::malloc(input.empty() ? 1 : input.size()));
  if (!input.empty())
    std::memcpy(copy, input.data(), input.size());
  long baseKb = -1;
  if (g_maxRssKb) {
    resetPeak();
    baseKb = statusKb("VmRSS:");
  }
  if (g_maxMs)
    ::alarm(unsigned(g_maxMs / 1000 * 4 + 5));
  const auto start = std::chrono::steady_clock::now();
  LLVMFuzzerTestOneInput(copy, input.size());
  const double ms =
      std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  if (g_maxMs)
    ::alarm(0);
  const long peakKb = baseKb >= 0 ? statusKb("VmHWM:") : -1;
  const long grewKb = peakKb >= 0 && baseKb >= 0 ? peakKb - baseKb : 0;
  std::free(copy);
  if (ms > g_worstMs)
    g_worstMs = ms;
  if (grewKb > g_worstRssKb)
    g_worstRssKb = grewKb;
  if ((g_maxMs && ms > double(g_maxMs)) || (g_maxRssKb && grewKb > g_maxRssKb)) {
    std::fprintf(stderr,
                 "input %zu (%zu bytes, from %s) took %.0f ms and %ld kB; budget %ld ms, %ld kB\n",
                 g_runs, input.size(), g_source, ms, grewKb, g_maxMs, g_maxRssKb);
    std::exit(1);
  }
  ++g_runs;
}

void corpusFromSeed(const std::vector<uint8_t> &seed, Rng &rng, int variants)
{
  run(seed);
  const size_t n = seed.size();
  // Truncations: every short length, then a spread over the whole file and the last bytes.
  for (size_t len = 0; len < n && len < 48; ++len)
    run(std::vector<uint8_t>(seed.begin(), seed.begin() + long(len)));
  for (int i = 1; i < 64 && n > 0; ++i) {
    size_t len = n * size_t(i) / 64;
    run(std::vector<uint8_t>(seed.begin(), seed.begin() + long(len)));
  }
  for (size_t cut = 1; cut <= 16 && cut < n; ++cut)
    run(std::vector<uint8_t>(seed.begin(), seed.end() - long(cut)));
  if (n == 0)
    return;
  static const uint32_t interesting[] = {
      0u,       1u,        2u,          7u,          8u,          0xFFu,       0xFFFFu,    0x10000u,
      0xFFFFFu, 0x100000u, 0x7FFFFFFFu, 0x80000000u, 0xFFFFFFFFu, 0xFFFFFFFEu, 0x12345678u};
  for (int v = 0; v < variants; ++v) {
    std::vector<uint8_t> m = seed;
    switch (v % 5) {
    case 0: // one bit anywhere
      m[rng.below(n)] ^= uint8_t(1u << rng.below(8));
      break;
    case 1: // a few bits, biased towards the header where counts and sizes live
      for (int k = 0, flips = 1 + int(rng.below(8)); k < flips; ++k) {
        size_t pos = (rng.next() & 1) ? rng.below(n < 2048 ? n : 2048) : rng.below(n);
        m[pos] ^= uint8_t(1u << rng.below(8));
      }
      break;
    case 2: { // a 32-bit field overwritten with a boundary value
      if (n < 4)
        break;
      size_t pos = rng.below(n - 3);
      uint32_t value = (rng.next() & 3) == 0 ? uint32_t(rng.next())
                                             : interesting[rng.below(std::size(interesting))];
      std::memcpy(&m[pos], &value, 4);
      break;
    }
    case 3: { // random bytes over a stretch of the body
      size_t pos = rng.below(n);
      size_t len = 1 + rng.below(64);
      for (size_t k = pos; k < n && k < pos + len; ++k)
        m[k] = uint8_t(rng.next());
      break;
    }
    case 4: { // a valid beginning with a random rest, of random length
      size_t keep = rng.below(n);
      m.resize(keep + rng.below(n + 64));
      for (size_t k = keep; k < m.size(); ++k)
        m[k] = uint8_t(rng.next());
      break;
    }
    }
    run(m);
  }
}

} // namespace

int main(int argc, char **argv)
{
  int variants = 400;
  std::vector<std::string> seeds;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--variants") == 0 && i + 1 < argc)
      variants = std::atoi(argv[++i]);
    else if (std::strcmp(argv[i], "--max-ms") == 0 && i + 1 < argc)
      g_maxMs = std::atol(argv[++i]);
    else if (std::strcmp(argv[i], "--max-rss-mb") == 0 && i + 1 < argc)
      g_maxRssKb = std::atol(argv[++i]) * 1024;
    else
      seeds.emplace_back(argv[i]);
  }
  if (g_maxMs)
    std::signal(SIGALRM, onAlarm);
  Rng rng{0x5EEDC0FFEEull};
  // Purely random files of assorted sizes.
  for (int i = 0; i < 64; ++i) {
    std::vector<uint8_t> r(rng.below(i < 32 ? 256 : 8192));
    for (auto &b : r)
      b = uint8_t(rng.next());
    run(r);
  }
  for (const std::string &name : seeds) {
    std::ifstream in(name, std::ios::binary);
    if (!in) {
      std::fprintf(stderr, "cannot read seed %s\n", name.c_str());
      return 2;
    }
    std::vector<uint8_t> seed((std::istreambuf_iterator<char>(in)),
                              std::istreambuf_iterator<char>());
    g_source = name.c_str();
    corpusFromSeed(seed, rng, variants);
  }
  std::printf("%zu inputs from %zu seeds ran cleanly; worst input %.1f ms, %ld kB\n", g_runs,
              seeds.size(), g_worstMs, g_worstRssKb);
  return 0;
}
