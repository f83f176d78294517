#include "halloffame/scores.h"

#include <fcntl.h>
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

bool LoadHallOfFame() {
  bool ok = true;
  QFile file(QString::fromLatin1(kScoreFile));
  if (file.exists()) {
    if (!file.open(QIODevice::ReadOnly)) {
      ok = false;
    } else {
      // Whole records only: a partial tail is ignored, and records after
      // the hundredth valid one are left out.
      int n = 0;
      uint8_t bytes[56];
      while (n < kHallSize) {
        const qint64 got = file.read(reinterpret_cast<char*>(bytes), 56);
        if (got < 0) ok = false;
        if (got != 56) break;
        const ScoreRecord r = DecodeRecord(bytes);
        if (RecordChecksum(r) == r.checksum) Slots[++n] = r;
      }
      EntryCount = uint8_t(n);
      for (int k = 1; k <= kHallSize; ++k) RankOrder[k] = uint8_t(k);
    }
    fileMayBeWritten = ok;
  } else {
    fileMayBeWritten = true;
  }
  FillNameList();
  return ok;
}

// Writes the table in rank order to a new file beside the old one, flushes
// it to the disk and only then puts it in the old one's place, so a failed
// or interrupted save leaves the previous file whole.
bool SaveHallOfFame() {
  if (!fileMayBeWritten) return false;
  std::vector<uint8_t> data;
  for (int r = 1; r <= EntryCount; ++r) {
    const ScoreRecord& s = Slots[RankOrder[r]];
    if (s.levels == 0) continue;
    const auto bytes = EncodeRecord(s);
    data.insert(data.end(), bytes.begin(), bytes.end());
  }
  char temp[] = "ZamScores.XXXXXX";
  const int fd = ::mkstemp(temp);
  if (fd < 0) return false;
  ::fchmod(fd, 0644);
  bool ok = WriteAll(fd, data.data(), data.size()) && ::fsync(fd) == 0;
  ok = ::close(fd) == 0 && ok;
  if (ok) ok = ::rename(temp, kScoreFile) == 0;
  if (!ok) {
    ::unlink(temp);
    return false;
  }
  // Make the rename itself durable.
  const int dir = ::open(".", O_RDONLY | O_DIRECTORY);
  if (dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
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
  for (int i = 1; i < EntryCount; ++i)
    for (int j = i + 1; j <= EntryCount; ++j)
      if (TotalScore(Slots[RankOrder[j]].levels) > TotalScore(Slots[RankOrder[i]].levels))
        std::swap(RankOrder[i], RankOrder[j]);
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
