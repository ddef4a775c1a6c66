// linewright-spell beside aspell and hunspell (en_AU), each run as a process on the same input:
//
// - BM_ListMode: "-l" / "list" over 6.7 MB of English documentation prose the project does not
//   hold (the machine's licence texts and compressed package documents, in path order). Each
//   program runs Runs times, the three taking turns so that they share the machine's noise;
//   reported: the median CPU time (user + system) and wall time of a run in ms, and
//   list_vs_aspell = aspell's CPU time / ours (1 or more: at least Aspell's throughput).
// - BM_PipeMode: "-a", one misspelled word a line as Emacs sends it ("^word"), the three
//   programs again taking turns word by word, Passes times over Words of codespell's common
//   misspellings (hunspell, at tens of ms a request, in the first pass only). A request is timed
//   from the write to the end of its answer; the first request of each program (opening its files)
//   is reported apart (first_ms, the slowest of the passes). Reported: median and p90 per request
//   in ms, the median of each pass's median (pass_min, pass_max show the noise), pipe_vs_aspell =
//   our median / aspell's (1 or less: at most Aspell's), the median CPU time a request takes in the
//   program (cpu_median_ms, from /proc/<pid>/schedstat: a loaded machine adds waits for a core to
//   the wall time) with pipe_cpu_vs_aspell, and top1 / top5: the share of words whose
//   intended word the answer has first, or among its first five.
//
// Run from the build tree: build/bin/bench_spell_cli (no display needed).
#include <QByteArray>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QSet>
#include <QStandardPaths>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <map>
#include <poll.h>
#include <signal.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr qsizetype ProseBytes = 6700000;
constexpr int Runs = 5;
constexpr int Words = 670;
constexpr int Passes = 3;

struct TProgram {
  const char *Name;
  QStringList ListArgs, PipeArgs;
  QString Path;
};

std::vector<TProgram> &Programs()
{
  static std::vector<TProgram> list = [] {
    std::vector<TProgram> p = {
        {"linewright", {"-l"}, {"-a"}, QStringLiteral(LW_SPELL_CLI)},
        {"aspell",
         {"-l", "en_AU", "--encoding=utf-8", "list"},
         {"-a", "-l", "en_AU", "--encoding=utf-8"},
         QStandardPaths::findExecutable(QStringLiteral("aspell"))},
        {"hunspell",
         {"-l", "-d", "en_AU", "-i", "utf-8"},
         {"-a", "-d", "en_AU", "-i", "utf-8"},
         QStandardPaths::findExecutable(QStringLiteral("hunspell"))},
    };
    p.erase(std::remove_if(p.begin(), p.end(), [](const TProgram &t) { return t.Path.isEmpty(); }),
            p.end());
    return p;
  }();
  return list;
}

// A scratch folder for the inputs and for Linewright's user folders (nothing of the user's is
// read or written).
QTemporaryDir &Scratch()
{
  static QTemporaryDir dir;
  static bool once = [] {
    qputenv("XDG_DATA_HOME", dir.filePath(QStringLiteral("data")).toUtf8());
    qputenv("XDG_CONFIG_HOME", dir.filePath(QStringLiteral("config")).toUtf8());
    return true;
  }();
  (void)once;
  return dir;
}

QString ProseFile()
{
  static const QString path = [] {
    QStringList files;
    for (const QString &root :
         {QStringLiteral("/usr/share/common-licenses"), QStringLiteral("/usr/share/doc")}) {
      QDirIterator it(root, QDir::Files, QDirIterator::Subdirectories);
      while (it.hasNext()) {
        const QString f = it.next();
        if (root.endsWith(QStringLiteral("licenses")) || f.endsWith(QStringLiteral(".gz")))
          files << f;
      }
    }
    std::sort(files.begin(), files.end());
    QByteArray text;
    for (const QString &f : files) {
      if (text.size() >= ProseBytes)
        break;
      QByteArray bytes;
      if (f.endsWith(QStringLiteral(".gz"))) {
        QProcess gz;
        gz.start(QStringLiteral("gzip"), {QStringLiteral("-dc"), f});
        gz.waitForFinished(60000);
        bytes = gz.readAllStandardOutput();
      } else {
        QFile in(f);
        if (in.open(QIODevice::ReadOnly))
          bytes = in.readAll();
      }
      // Text only: a document with NUL bytes is binary.
      if (!bytes.contains('\0'))
        text += bytes;
    }
    text.truncate(text.lastIndexOf('\n', ProseBytes) + 1);
    const QString out = Scratch().filePath(QStringLiteral("prose.txt"));
    QFile f(out);
    if (!f.open(QIODevice::WriteOnly) || f.write(text) != text.size())
      qFatal("cannot write %s", qPrintable(out));
    return out;
  }();
  return path;
}

struct TMisspelling {
  QByteArray Wrong;
  QString Right;
};

// codespell's entries with one intended word that the shipped dictionary holds and a
// misspelling it does not, letters only, at an even stride through the list.
const std::vector<TMisspelling> &Misspellings()
{
  static const std::vector<TMisspelling> list = [] {
    QSet<QString> words;
    QFile w(QStringLiteral(LW_AUSSIE_WORDS));
    if (!w.open(QIODevice::ReadOnly))
      qFatal("cannot read %s", LW_AUSSIE_WORDS);
    for (const QString &s : QString::fromUtf8(w.readAll()).split(u'\n', Qt::SkipEmptyParts))
      words.insert(s.trimmed());
    QFile f(QStringLiteral(LW_CODESPELL_LIST));
    if (!f.open(QIODevice::ReadOnly))
      qFatal("cannot read %s", LW_CODESPELL_LIST);
    std::vector<TMisspelling> eligible;
    for (const QString &line : QString::fromUtf8(f.readAll()).split(u'\n', Qt::SkipEmptyParts)) {
      const qsizetype arrow = line.indexOf(QStringLiteral("->"));
      if (arrow <= 0)
        continue;
      const QString wrong = line.left(arrow).trimmed(), right = line.mid(arrow + 2).trimmed();
      auto plain = [](const QString &s) {
        return s.size() >= 3 &&
               std::all_of(s.begin(), s.end(), [](QChar c) { return c >= u'a' && c <= u'z'; });
      };
      if (plain(wrong) && plain(right) && words.contains(right) && !words.contains(wrong))
        eligible.push_back({wrong.toUtf8(), right});
    }
    std::vector<TMisspelling> chosen;
    const size_t stride = std::max<size_t>(1, eligible.size() / Words);
    for (size_t i = 0; i < eligible.size() && chosen.size() < size_t(Words); i += stride)
      chosen.push_back(eligible[i]);
    return chosen;
  }();
  return list;
}

std::vector<char *> Argv(const TProgram &P, const QStringList &Args,
                         std::vector<std::string> &Store)
{
  Store.clear();
  Store.push_back(P.Path.toStdString());
  for (const QString &a : Args)
    Store.push_back(a.toStdString());
  std::vector<char *> argv;
  for (std::string &s : Store)
    argv.push_back(s.data());
  argv.push_back(nullptr);
  return argv;
}

double Ms(const timeval &T) { return double(T.tv_sec) * 1e3 + double(T.tv_usec) / 1e3; }

double Median(std::vector<double> V)
{
  if (V.empty())
    return 0;
  std::sort(V.begin(), V.end());
  return V[V.size() / 2];
}

// One list run: stdin from the prose file, stdout to /dev/null. CPU and wall ms.
std::pair<double, double> ListRun(const TProgram &P)
{
  std::vector<std::string> store;
  std::vector<char *> argv = Argv(P, P.ListArgs, store);
  const std::string input = ProseFile().toStdString();
  const auto start = std::chrono::steady_clock::now();
  const pid_t pid = fork();
  if (pid == 0) {
    const int in = open(input.c_str(), O_RDONLY);
    const int out = open("/dev/null", O_WRONLY);
    dup2(in, 0);
    dup2(out, 1);
    execv(argv[0], argv.data());
    _exit(127);
  }
  int status = 0;
  rusage usage{};
  wait4(pid, &status, 0, &usage);
  const double wall =
      std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
    qFatal("%s failed in list mode", P.Name);
  return {Ms(usage.ru_utime) + Ms(usage.ru_stime), wall};
}

void BM_ListMode(benchmark::State &State)
{
  ProseFile();
  std::map<std::string, std::vector<double>> cpu, wall;
  for (auto _ : State)
    for (int run = 0; run < Runs; ++run)
      for (const TProgram &p : Programs()) {
        const auto [c, w] = ListRun(p);
        cpu[p.Name].push_back(c);
        wall[p.Name].push_back(w);
      }
  for (const TProgram &p : Programs()) {
    const std::string n = p.Name;
    State.counters[n + "_cpu_ms"] = Median(cpu[n]);
    State.counters[n + "_wall_ms"] = Median(wall[n]);
    State.counters[n + "_cpu_min"] = *std::min_element(cpu[n].begin(), cpu[n].end());
    State.counters[n + "_cpu_max"] = *std::max_element(cpu[n].begin(), cpu[n].end());
  }
  if (cpu.count("aspell"))
    State.counters["list_vs_aspell"] = Median(cpu["aspell"]) / Median(cpu["linewright"]);
  if (cpu.count("hunspell"))
    State.counters["list_vs_hunspell"] = Median(cpu["hunspell"]) / Median(cpu["linewright"]);
}

// A program in pipe mode: its banner read, then one request at a time.
class TPipeChild {
public:
  explicit TPipeChild(const TProgram &P)
  {
    int in[2], out[2];
    // Close-on-exec: a later child must not hold this one's input open.
    if (pipe2(in, O_CLOEXEC) != 0 || pipe2(out, O_CLOEXEC) != 0)
      qFatal("pipe");
    std::vector<std::string> store;
    std::vector<char *> argv = Argv(P, P.PipeArgs, store);
    FPid = fork();
    if (FPid == 0) {
      dup2(in[0], 0);
      dup2(out[1], 1);
      close(in[1]);
      close(out[0]);
      execv(argv[0], argv.data());
      _exit(127);
    }
    close(in[0]);
    close(out[1]);
    FIn = in[1];
    FOut = out[0];
    ReadUntil("\n"); // the version line
  }
  ~TPipeChild()
  {
    close(FIn);
    close(FOut);
    int status = 0;
    waitpid(FPid, &status, 0);
  }

  // The answer to "^Word", the time from the write to its last byte and the CPU time the
  // program spent on it.
  QByteArray Ask(const QByteArray &Word, double &Ms, double &CpuMs)
  {
    const QByteArray line = "^" + Word + "\n";
    const double cpu = CpuNs();
    const auto start = std::chrono::steady_clock::now();
    if (write(FIn, line.constData(), size_t(line.size())) != line.size())
      qFatal("write");
    QByteArray answer = ReadUntil("\n\n");
    Ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    CpuMs = (CpuNs() - cpu) / 1e6;
    return answer;
  }

private:
  // The program's time on a CPU so far (ns), from the scheduler's own count: on a loaded
  // machine a request's wall time also holds the waits for a core, which this does not.
  double CpuNs() const
  {
    QFile f(QStringLiteral("/proc/%1/schedstat").arg(FPid));
    if (!f.open(QIODevice::ReadOnly))
      return 0;
    return f.readAll().split(' ').value(0).toDouble();
  }

  QByteArray ReadUntil(const char *End)
  {
    for (;;) {
      const qsizetype at = FPending.indexOf(End);
      // An answer without lines is the empty line alone.
      if (at >= 0 || (std::strcmp(End, "\n\n") == 0 && FPending.startsWith('\n'))) {
        const qsizetype n = at == 0 || at < 0 ? 1 : at + qsizetype(std::strlen(End));
        const QByteArray a = FPending.left(n);
        FPending.remove(0, n);
        return a;
      }
      char buffer[65536];
      const ssize_t got = read(FOut, buffer, sizeof buffer);
      if (got <= 0)
        qFatal("pipe closed");
      FPending.append(buffer, got);
    }
  }

  pid_t FPid = -1;
  int FIn = -1, FOut = -1;
  QByteArray FPending;
};

QStringList Suggestions(const QByteArray &Answer)
{
  const QString a = QString::fromUtf8(Answer);
  const qsizetype colon = a.indexOf(QStringLiteral(": "));
  if (!a.startsWith(u'&') || colon < 0)
    return {};
  return a.mid(colon + 2).trimmed().split(QStringLiteral(", "));
}

void BM_PipeMode(benchmark::State &State)
{
  const auto &words = Misspellings();
  std::map<std::string, std::vector<double>> ms, cpuMs, passMedian;
  std::map<std::string, double> first, top1, top5;
  for (auto _ : State)
    for (int pass = 0; pass < Passes; ++pass) {
      // Hunspell takes tens of ms a request: it answers in the first pass only.
      std::vector<std::unique_ptr<TPipeChild>> children;
      for (const TProgram &p : Programs())
        children.push_back(pass == 0 || std::strcmp(p.Name, "hunspell") != 0
                               ? std::make_unique<TPipeChild>(p)
                               : nullptr);
      std::map<std::string, std::vector<double>> thisPass;
      for (size_t i = 0; i <= words.size(); ++i)
        for (size_t c = 0; c < children.size(); ++c) {
          if (!children[c])
            continue;
          const std::string name = Programs()[c].Name;
          double t = 0, cpu = 0;
          // A warm-up request first: the files a program opens on first use.
          if (i == 0) {
            children[c]->Ask("warmup", t, cpu);
            first[name] = std::max(first[name], t);
            continue;
          }
          const TMisspelling &m = words[i - 1];
          const QStringList s = Suggestions(children[c]->Ask(m.Wrong, t, cpu));
          thisPass[name].push_back(t);
          ms[name].push_back(t);
          cpuMs[name].push_back(cpu);
          if (pass == 0) {
            const qsizetype at = s.indexOf(m.Right);
            top1[name] += at == 0;
            top5[name] += at >= 0 && at < 5;
          }
        }
      for (auto &[name, v] : thisPass)
        passMedian[name].push_back(Median(v));
    }
  for (const TProgram &p : Programs()) {
    const std::string n = p.Name;
    std::vector<double> v = ms[n];
    std::sort(v.begin(), v.end());
    State.counters[n + "_median_ms"] = Median(passMedian[n]);
    State.counters[n + "_p90_ms"] = v.empty() ? 0 : v[v.size() * 9 / 10];
    State.counters[n + "_pass_min"] = *std::min_element(passMedian[n].begin(), passMedian[n].end());
    State.counters[n + "_pass_max"] = *std::max_element(passMedian[n].begin(), passMedian[n].end());
    State.counters[n + "_first_ms"] = first[n];
    State.counters[n + "_cpu_median_ms"] = Median(cpuMs[n]);
    State.counters[n + "_cpu_median_ms"] = Median(cpuMs[n]);
    State.counters[n + "_top1"] = top1[n] / double(words.size());
    State.counters[n + "_top5"] = top5[n] / double(words.size());
  }
  State.counters["words"] = double(words.size());
  if (passMedian.count("aspell")) {
    State.counters["pipe_vs_aspell"] =
        Median(passMedian["linewright"]) / Median(passMedian["aspell"]);
    State.counters["pipe_cpu_vs_aspell"] = Median(cpuMs["linewright"]) / Median(cpuMs["aspell"]);
  }
}

} // namespace

BENCHMARK(BM_ListMode)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PipeMode)->Iterations(1)->Unit(benchmark::kMillisecond);
