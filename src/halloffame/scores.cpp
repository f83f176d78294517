#include "halloffame/scores.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QComboBox>
#include <QDate>
#include <QDateTime>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>
#include <bit>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "drawing/PaintBox.h"
#include "drawing/Unit2.h"
#include "halloffame/security.h"

static_assert(std::endian::native == std::endian::little,
              "records are kept in memory exactly as stored: little-endian");
static_assert(offsetof(ScoreRecord, passwordLength) == 11);
static_assert(offsetof(ScoreRecord, levels) == 32);
static_assert(offsetof(ScoreRecord, date) == 40);
static_assert(offsetof(ScoreRecord, checksum) == 48);

ScoreRecord Slots[kHallSize + 1];
uint8_t EntryCount = 0;
uint8_t RankOrder[kHallSize + 1];
Tscoreform* scoreform = nullptr;
Tscoreform* (*MakeScoreForm)() = nullptr;
QComboBox* NameListBox = nullptr;

namespace {

// Whether the score file may be replaced at exit: not when it exists but
// could not be read, so that nothing of a player's scores is lost.
bool fileMayBeWritten = true;

QString ToUpperAscii(const QString& s) {
  QString out = s;
  for (QChar& c : out)
    if (c >= QLatin1Char('a') && c <= QLatin1Char('z')) c = QChar(c.unicode() - 32);
  return out;
}

// Writes all bytes to fd; false on any error.
bool WriteAll(int fd, const uint8_t* data, size_t size) {
  while (size > 0) {
    const ssize_t n = ::write(fd, data, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    data += n;
    size -= size_t(n);
  }
  return true;
}

// The ranking's exchange sort, descending by total: an entry moves up only
// past a strictly lower total, so equal totals never swap with each other
// directly.
template <class T, class Total>
void ExchangeSort(std::vector<T>& order, Total total) {
  for (size_t i = 0; i + 1 < order.size(); ++i)
    for (size_t j = i + 1; j < order.size(); ++j)
      if (total(order[j]) > total(order[i])) std::swap(order[i], order[j]);
}

}  // namespace

// ---- records -----------------------------------------------------------------

std::array<uint8_t, 56> EncodeRecord(const ScoreRecord& r) {
  std::array<uint8_t, 56> bytes;
  std::memcpy(bytes.data(), &r, 56);
  return bytes;
}

ScoreRecord DecodeRecord(const uint8_t* bytes) {
  ScoreRecord r;
  std::memcpy(&r, bytes, 56);
  return r;
}

uint8_t TotalScore(uint32_t levels) {
  int total = 0;
  for (int g = 1; g <= 9; ++g) total += g * std::min<int>(5, (levels >> (3 * (g - 1))) & 7);
  return uint8_t(total);
}

uint32_t RecordChecksum(const ScoreRecord& r) {
  ChecksumReset();
  for (int i = 0; i < std::min<int>(r.nameLength, 10); ++i) ChecksumAddByte(uint8_t(r.name[i]));
  for (int i = 0; i < std::min<int>(r.passwordLength, 20); ++i)
    ChecksumAddByte(uint8_t(r.password[i]));
  // The level record shifted left and cut to its low byte: its low byte,
  // then three zero bytes. Stored files depend on exactly this.
  for (int shift = 0; shift < 32; shift += 8) ChecksumAddByte(uint8_t((r.levels << shift) & 0xFF));
  for (uint8_t b : {0x83, 0xC4, 0xE8, 0x8D, 0x44, 0x24, 0x08, 0x50}) ChecksumAddByte(b);
  return ChecksumValue();
}

QString RecordName(const ScoreRecord& r) {
  return QString::fromLatin1(r.name, std::min<int>(r.nameLength, 10));
}

double OleDateNow() {
  const QDateTime now = QDateTime::currentDateTime();
  return double(QDate(1899, 12, 30).daysTo(now.date())) +
         double(now.time().msecsSinceStartOfDay()) / 86400000.0;
}

QString FormatOleDate(double date) {
  // Only dates the calendar can hold (years 100..9999); an edited file may
  // hold anything.
  if (!std::isfinite(date) || date < -657434.0 || date >= 2958466.0) return QString();
  const QDate day = QDate(1899, 12, 30).addDays(qint64(std::floor(date)));
  return day.toString(QStringLiteral("dd-MM-yyyy"));
}

// ---- the table -------------------------------------------------------------------

void ClearHallOfFame() {
  for (int k = 1; k <= kHallSize; ++k) {
    Slots[k] = ScoreRecord{};
    RankOrder[k] = uint8_t(k);
  }
}

namespace {

// Records read at most from a score file: far beyond the 100 a hall of fame
// holds, so a huge or endless file cannot hold up the start. A longer file
// is not one this program wrote; it is kept as it is and never replaced.
constexpr size_t kScanLimit = 10000;

// What a score file holds, as far as it could be read.
struct TFileState {
  enum Kind { kMissing, kRead, kUnreadable } kind = kMissing;
  std::vector<ScoreRecord> valid;  // the records with a good checksum, in file order
  std::vector<uint8_t> bytes;      // everything read
  bool dropsBytes = false;         // damaged records or a partial tail
  std::string why;                 // why it could not be read
  struct stat st = {};             // the file read (after links)
};

TFileState Unreadable(const std::string& why) {
  TFileState f;
  f.kind = TFileState::kUnreadable;
  f.why = why;
  return f;
}

// Reads a score file without blocking: only a regular file (after links)
// of at most kScanLimit records is read; anything else is an existing file
// that cannot be read.
TFileState ReadScoreFile(const std::string& path) {
  struct stat st;
  if (::stat(path.c_str(), &st) != 0) {
    const int error = errno;
    struct stat link;
    if (error == ENOENT && ::lstat(path.c_str(), &link) != 0) return {};  // no file at all
    return Unreadable(error == ENOENT ? "a link that leads nowhere" : std::strerror(error));
  }
  if (!S_ISREG(st.st_mode)) return Unreadable("not a regular file");
  if (uint64_t(st.st_size) > kScanLimit * sizeof(ScoreRecord))
    return Unreadable("far larger than a hall of fame");
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return Unreadable(std::strerror(errno));
  TFileState f;
  if (::fstat(fd, &f.st) != 0 || !S_ISREG(f.st.st_mode)) {
    ::close(fd);
    return Unreadable("not a regular file");
  }
  const size_t limit = kScanLimit * sizeof(ScoreRecord);
  uint8_t buffer[4096];
  while (true) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      const std::string why = std::strerror(errno);
      ::close(fd);
      return Unreadable(why);
    }
    if (n == 0) break;
    f.bytes.insert(f.bytes.end(), buffer, buffer + n);
    if (f.bytes.size() > limit) {
      ::close(fd);
      return Unreadable("far larger than a hall of fame");
    }
  }
  ::close(fd);
  f.kind = TFileState::kRead;
  const size_t whole = f.bytes.size() / sizeof(ScoreRecord);
  f.dropsBytes = f.bytes.size() % sizeof(ScoreRecord) != 0;
  for (size_t i = 0; i < whole; ++i) {
    const ScoreRecord r = DecodeRecord(f.bytes.data() + i * sizeof(ScoreRecord));
    if (RecordChecksum(r) == r.checksum)
      f.valid.push_back(r);
    else
      f.dropsBytes = true;
  }
  if (f.valid.size() > size_t(kHallSize)) f.dropsBytes = true;  // past 100: not written back
  return f;
}

bool SameFile(const struct stat& a, const struct stat& b) {
  return a.st_dev == b.st_dev && a.st_ino == b.st_ino && a.st_size == b.st_size &&
         a.st_mtim.tv_sec == b.st_mtim.tv_sec && a.st_mtim.tv_nsec == b.st_mtim.tv_nsec;
}

// The last file read at load, reused when it has not changed since (the
// program loads the hall of fame twice at start).
TFileState lastLoad;

// The table as loaded: players whose record differs from this at the save
// were changed by this run of the program.
std::vector<ScoreRecord> loaded;

void Report(const std::string& what) { std::fprintf(stderr, "zam: %s\n", what.c_str()); }

std::string UpperName(const ScoreRecord& r) {
  std::string name(r.name, size_t(std::min<int>(r.nameLength, 10)));
  for (char& c : name)
    if (c >= 'a' && c <= 'z') c = char(c - 32);
  return name;
}

bool SameRecord(const ScoreRecord& a, const ScoreRecord& b) {
  return std::memcmp(&a, &b, sizeof(ScoreRecord)) == 0;
}

// The file's own directory and name, after a symbolic link: a save replaces
// the file a link leads to and keeps the link.
bool SaveTarget(std::string& dir, std::string& base, std::string& why) {
  std::string path = kScoreFile;
  if (char* real = ::realpath(kScoreFile, nullptr)) {
    path = real;
    std::free(real);
  } else if (errno != ENOENT) {
    why = std::strerror(errno);
    return false;
  }
  const size_t slash = path.rfind('/');
  dir = slash == std::string::npos ? "." : (slash == 0 ? "/" : path.substr(0, slash));
  base = slash == std::string::npos ? path : path.substr(slash + 1);
  return true;
}

// Writes bytes to a new file in dir and renames it to name there, so the
// file named is either the old one or the complete new one. With `keep`
// the new file gets the mode and owner of that file, else the mode the
// user's umask gives.
bool ReplaceFile(const std::string& dir, const std::string& name, const std::vector<uint8_t>& data,
                 const struct stat* keep, bool mayStop, std::string& why) {
  std::string temp = dir + "/" + name + ".tmp.XXXXXX";
  const int fd = ::mkstemp(temp.data());
  if (fd < 0) {
    why = std::strerror(errno);
    return false;
  }
  if (keep) {
    [[maybe_unused]] const int owner = ::fchown(fd, keep->st_uid, keep->st_gid);
    ::fchmod(fd, keep->st_mode & 07777);
  } else {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(fd, 0666 & ~mask);
  }
  bool ok = WriteAll(fd, data.data(), data.size()) && ::fsync(fd) == 0;
  if (!ok) why = std::strerror(errno);
  if (::close(fd) != 0 && ok) {
    why = std::strerror(errno);
    ok = false;
  }
  if (ok && mayStop && SaveInterruption && SaveInterruption()) {  // as if killed here
    why = "stopped before the new file took the old one's place";
    return false;
  }
  if (ok && ::rename(temp.c_str(), (dir + "/" + name).c_str()) != 0) {
    why = std::strerror(errno);
    ok = false;
  }
  if (!ok) {
    ::unlink(temp.c_str());
    return false;
  }
  const int d = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);  // the rename, durable
  if (d >= 0) {
    ::fsync(d);
    ::close(d);
  }
  return true;
}

// Temporary files of earlier saves that never finished (the program was
// killed between writing and renaming). Only called under the lock, when
// no other save can be writing one.
void RemoveStaleTemporaries(const std::string& dir, const std::string& base) {
  DIR* d = ::opendir(dir.c_str());
  if (!d) return;
  const std::string prefixes[] = {base + ".tmp.", base + ".bak.tmp."};
  while (dirent* e = ::readdir(d)) {
    const std::string name = e->d_name;
    for (const std::string& prefix : prefixes)
      if (name.rfind(prefix, 0) == 0 && name.size() == prefix.size() + 6)
        ::unlink((dir + "/" + name).c_str());
  }
  ::closedir(d);
}

}  // namespace

bool (*SaveInterruption)() = nullptr;

bool LoadHallOfFame() {
  struct stat st;
  TFileState f;
  if (lastLoad.kind == TFileState::kRead && ::stat(kScoreFile, &st) == 0 &&
      SameFile(st, lastLoad.st))
    f = lastLoad;
  else
    f = ReadScoreFile(kScoreFile);
  lastLoad = f;
  fileMayBeWritten = f.kind != TFileState::kUnreadable;
  if (f.kind == TFileState::kUnreadable)
    Report(std::string("cannot read the hall of fame \"") + kScoreFile + "\": " + f.why +
           "; it is kept as it is, and this run's results will not be saved to it");
  if (f.kind == TFileState::kRead) {
    const int n = std::min<int>(int(f.valid.size()), kHallSize);
    for (int k = 1; k <= n; ++k) Slots[k] = f.valid[size_t(k - 1)];
    EntryCount = uint8_t(n);
    for (int k = 1; k <= kHallSize; ++k) RankOrder[k] = uint8_t(k);
  }
  loaded.assign(Slots + 1, Slots + 1 + EntryCount);
  FillNameList();
  return f.kind != TFileState::kUnreadable;
}

// Saves under a lock beside the file: the file is read again as it is now,
// the players this run changed take this run's records, every other player
// keeps the record now in the file, and the table is ranked and cut to 100.
// The result replaces the file whole (a new file renamed over it), with the
// file's own mode and owner. A file that cannot be read, or is read-only,
// is never replaced; bytes a save would drop are kept in "ZamScores.bak".
bool SaveHallOfFame() {
  const std::string file = kScoreFile;
  auto fail = [&](const std::string& why) {
    Report("cannot save the hall of fame to \"" + file + "\": " + why);
    return false;
  };
  if (!fileMayBeWritten) return fail("it could not be read at start");
  std::string dir, base, why;
  if (!SaveTarget(dir, base, why)) return fail(why);
  const int lock = ::open((dir + "/" + base + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
  if (lock < 0) return fail(std::string("no lock beside it: ") + std::strerror(errno));
  while (::flock(lock, LOCK_EX) != 0 && errno == EINTR) {
  }
  struct Unlock {
    int fd;
    ~Unlock() { ::close(fd); }  // closing releases the lock
  } unlock{lock};
  RemoveStaleTemporaries(dir, base);
  const TFileState now = ReadScoreFile(dir + "/" + base);
  if (now.kind == TFileState::kUnreadable) return fail(now.why);
  if (now.kind == TFileState::kRead && !(now.st.st_mode & S_IWUSR)) return fail("it is read-only");

  // The merge.
  std::vector<ScoreRecord> merged = now.valid;
  for (int k = 1; k <= EntryCount; ++k) {
    const ScoreRecord& mine = Slots[k];
    const std::string name = UpperName(mine);
    bool changed = true;
    for (const ScoreRecord& before : loaded)
      if (UpperName(before) == name && SameRecord(before, mine)) changed = false;
    if (!changed) continue;
    bool replaced = false;
    for (ScoreRecord& r : merged)
      if (!replaced && UpperName(r) == name) {
        r = mine;
        replaced = true;
      }
    if (!replaced) merged.push_back(mine);
  }
  // Ranked by the exchange sort, then the best 100.
  std::vector<size_t> order(merged.size());
  for (size_t i = 0; i < order.size(); ++i) order[i] = i;
  ExchangeSort(order, [&](size_t i) { return TotalScore(merged[i].levels); });
  if (order.size() > size_t(kHallSize)) order.resize(size_t(kHallSize));
  std::vector<uint8_t> data;
  for (size_t i : order) {
    if (merged[i].levels == 0) continue;
    const auto bytes = EncodeRecord(merged[i]);
    data.insert(data.end(), bytes.begin(), bytes.end());
  }
  if (now.kind == TFileState::kRead && now.dropsBytes &&
      !ReplaceFile(dir, base + ".bak", now.bytes, &now.st, false, why))
    return fail("no backup of the damaged file could be made: " + why);
  if (!ReplaceFile(dir, base, data, now.kind == TFileState::kRead ? &now.st : nullptr, true, why))
    return fail(why);
  // Saved: the table becomes what the file now holds.
  EntryCount = uint8_t(order.size());
  for (size_t r = 0; r < order.size(); ++r) {
    Slots[r + 1] = merged[order[r]];
    RankOrder[r + 1] = uint8_t(r + 1);
  }
  loaded.assign(Slots + 1, Slots + 1 + EntryCount);
  return true;
}

QString StoredPasswordOf(const QString& name) {
  for (int k = 1; k <= EntryCount; ++k)
    if (RecordName(Slots[k]) == name)
      return QString::fromLatin1(Slots[k].password, std::min<int>(Slots[k].passwordLength, 20));
  return QString();
}

uint32_t StoredLevelsOf(const QString& name) {
  for (int k = 1; k <= EntryCount; ++k)
    if (RecordName(Slots[k]) == name) return Slots[k].levels;
  return 0;
}

void RecordResult(const QString& typedName, const QString& typedPassword, uint32_t levels) {
  const QString name = typedName.left(10);
  int slot = 0;
  for (int k = 1; k <= EntryCount && slot == 0; ++k)
    if (ToUpperAscii(RecordName(Slots[k])) == ToUpperAscii(name)) slot = k;
  if (slot == 0) {
    if (EntryCount < kHallSize) ++EntryCount;
    slot = EntryCount;
  }
  ScoreRecord& r = Slots[slot];
  const QByteArray nameBytes = name.toLatin1();
  const QByteArray password = ScrambleText(typedPassword).toLatin1().left(20);
  std::memset(r.name, 0, sizeof r.name);
  std::memset(r.password, 0, sizeof r.password);
  r.nameLength = uint8_t(nameBytes.size());
  std::memcpy(r.name, nameBytes.constData(), size_t(nameBytes.size()));
  r.passwordLength = uint8_t(password.size());
  std::memcpy(r.password, password.constData(), size_t(password.size()));
  r.levels = levels;
  r.date = OleDateNow();
  r.checksum = RecordChecksum(r);
  SortHallOfFame();
  FillNameList();
}

void SortHallOfFame() {
  std::vector<uint8_t> order(RankOrder + 1, RankOrder + 1 + EntryCount);
  ExchangeSort(order, [](uint8_t slot) { return TotalScore(Slots[slot].levels); });
  std::copy(order.begin(), order.end(), RankOrder + 1);
}

void FillNameList() {
  QComboBox* box = NameListBox;
  if (!box) return;
  const QString typed = box->currentText();
  QStringList names;
  for (int k = 1; k <= EntryCount; ++k) names << RecordName(Slots[k]);
  // The list is sorted alphabetically, without regard to letter case.
  std::stable_sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) < 0;
  });
  const QSignalBlocker block(box);
  box->clear();
  box->addItems(names);
  box->setCurrentIndex(-1);
  box->setEditText(typed);
}

void ShowHallOfFame() {
  if (!scoreform && MakeScoreForm) scoreform = MakeScoreForm();
  if (!scoreform) return;
  scoreform->exec();
  scoreform->Timer1.stop();
}

// ---- the window --------------------------------------------------------------------

Tscoreform::Tscoreform(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("Zam : Ere - Galerij"));
  setFixedSize(538, 707);
  UseButtonFace(this);
  setFont(PixelFont(QStringLiteral("MS Sans Serif"), 11, false));
  scorebox = new TPaintBox(this);
  scorebox->setGeometry(24, 40, 450, 625);
  auto label = [this](int x, int y, const char* text) {
    return MakeLabel(this, x, y, QString::fromLatin1(text));
  };
  Label1 = label(40, 8, "rang");
  Label2 = label(128, 8, "naam");
  Label3 = label(296, 8, "datum");
  Label4 = label(424, 8, "score");
  Label5 = label(24, 680, "ESC: sluit pagina");
  ScrollBar1 = new QScrollBar(Qt::Vertical, this);
  ScrollBar1->setGeometry(496, 40, 19, 625);
  ScrollBar1->setRange(0, 75);
  ScrollBar1->setPageStep(1);
  ScrollBar1->setFocusPolicy(Qt::NoFocus);
  Timer1.setInterval(40);
  scorebox->OnPaint = [this] { scoreboxPaint(); };
  connect(&Timer1, &QTimer::timeout, this, [this] { Timer1Timer(); });
  connect(ScrollBar1, &QScrollBar::valueChanged, this, [this] { ScrollBar1Change(); });
}

void Tscoreform::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), palette().color(QPalette::Window));
  DrawFrame(p, FrameBounds(scorebox->geometry(), 15), 0x00FFFF, 0x0080FF, 3, 15);
}

void Tscoreform::scoreboxPaint() {
  TXBitmap& s = scorebox->Surface();
  s.FillRect({0, 0, s.Width(), s.Height()}, ButtonFaceColor);
  RowCounter = 1;
  Timer1.start();
}

void Tscoreform::Timer1Timer() {
  const int a = RowCounter;
  if (a < 1 || a > 25) {
    Timer1.stop();
    return;
  }
  const int r = a + ScrollBar1->value();
  TXBitmap& s = scorebox->Surface();
  const TRect row{0, 25 * (a - 1), s.Width(), 25 * a};
  s.FillRect(row, a % 2 == 1 ? 0xE0FFE0 : 0xE0E0FF);
  if (r <= EntryCount) {
    const QFont font = PixelFont(QStringLiteral("Arial"), 15, false);
    const QFontMetrics metrics(font);
    const ScoreRecord& slot = Slots[RankOrder[r]];
    const int y = 25 * (a - 1) + 5;
    const QString rank = QString::number(r);
    const QString total = QString::number(TotalScore(slot.levels));
    s.TextOut(30 - metrics.horizontalAdvance(rank), y, rank, font, 0x000000);
    s.TextOut(100, y, RecordName(slot), font, 0x000000);
    s.TextOut(250, y, FormatOleDate(slot.date), font, 0x000000);
    s.TextOut(420 - metrics.horizontalAdvance(total), y, total, font, 0x000000);
  }
  scorebox->Show(row);
  RowCounter = uint8_t(a + 1);
  if (RowCounter > 25) Timer1.stop();
}

void Tscoreform::ScrollBar1Change() { scorebox->Invalidate(); }

void Tscoreform::keyPressEvent(QKeyEvent* e) {
  if (e->key() == Qt::Key_Escape)
    accept();  // modal result OK
  else
    e->ignore();
}
