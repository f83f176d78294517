// SPDX-License-Identifier: GPL-3.0-or-later
// Speed of the pixel engine beside Qt doing the same job, and beside a plain
// memset of as many pixels as the engine writes (the physical floor).
//
// Each shape is run as three benchmarks: <shape>/engine, <shape>/qt and
// <shape>/memset. The Qt side is QPainter (antialiasing off) drawing the same
// shape on a same-sized RGB32 image; for the scaled copy it is QPainter's
// smooth drawImage (bilinear: it reads four source pixels per destination
// pixel where area averaging reads nine) and, as a second row, QImage::scaled
// with smooth transformation (Qt's own area-averaging reduction). After the
// runs a table gives the median time of each and the ratio engine / Qt.
// The scaled copy is a plain loop that runs a few times at start-up: its rows
// are reported for information, with no target.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <cstdio>
#include <cstring>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "drawing/Xbitmap.h"
#include "medians.h"

namespace {

constexpr int kW = 641, kH = 481;

struct Shape {
  const char* name;
  std::function<void(TXBitmap&)> setup;  // pen and fill state, once
  std::function<void(TXBitmap&)> engine;
  std::function<void(QPainter&)> qsetup;
  std::function<void(QPainter&)> qpainter;
};

const TPoint kArrow[7] = {{625, 50}, {592, 35}, {592, 45}, {525, 45},
                          {525, 55}, {592, 55}, {592, 65}};

QPen Pen(int width) {
  QPen pen(Qt::black);
  pen.setWidth(width);
  pen.setCapStyle(Qt::RoundCap);
  pen.setJoinStyle(Qt::RoundJoin);
  return pen;
}

void FillState(TXBitmap& b, int penWidth) {
  b.SetPenLevel(0);
  b.SetFillLevel(0);
  b.SetPenColor(0x0080E0);
  b.SetFillColor(0xC0C0C0);
  b.SetPenWidth(uint8_t(penWidth));
}

void FillQState(QPainter& p, int penWidth) {
  p.setRenderHint(QPainter::Antialiasing, false);
  p.setPen(Pen(penWidth));
  p.setBrush(QColor(0xC0, 0xC0, 0xC0));
}

const std::vector<Shape>& Shapes() {
  static const std::vector<Shape> shapes = {
      {"Dot", [](TXBitmap& b) { FillState(b, 1); }, [](TXBitmap& b) { b.Dot(320, 240); },
       [](QPainter& p) { FillQState(p, 1); }, [](QPainter& p) { p.drawPoint(320, 240); }},
      {"Line_pen1", [](TXBitmap& b) { FillState(b, 1); },
       [](TXBitmap& b) { b.Line(0, 0, 640, 480); }, [](QPainter& p) { FillQState(p, 1); },
       [](QPainter& p) { p.drawLine(0, 0, 640, 480); }},
      {"Line_pen3", [](TXBitmap& b) { FillState(b, 3); },
       [](TXBitmap& b) { b.Line(0, 0, 640, 480); }, [](QPainter& p) { FillQState(p, 3); },
       [](QPainter& p) { p.drawLine(0, 0, 640, 480); }},
      {"Ellipse_pen6", [](TXBitmap& b) { FillState(b, 6); },
       [](TXBitmap& b) { b.Ellipse(15, 15, 105, 105); }, [](QPainter& p) { FillQState(p, 6); },
       [](QPainter& p) { p.drawEllipse(QRect(15, 15, 91, 91)); }},
      {"RoundRect", [](TXBitmap& b) { FillState(b, 2); },
       [](TXBitmap& b) { b.RoundRect(20, 20, 300, 200, 15); },
       [](QPainter& p) { FillQState(p, 2); },
       [](QPainter& p) { p.drawRoundedRect(QRect(20, 20, 281, 181), 15, 15); }},
      {"Polygon_arrow7", [](TXBitmap& b) { FillState(b, 2); },
       [](TXBitmap& b) { b.Polygon(kArrow, 6); }, [](QPainter& p) { FillQState(p, 2); },
       [](QPainter& p) {
         QPoint pts[7];
         for (int i = 0; i < 7; ++i) pts[i] = QPoint(kArrow[i].x, kArrow[i].y);
         p.drawPolygon(pts, 7);
       }},
  };
  return shapes;
}

// Pixels the engine changes for a shape: the memset floor writes as many.
int PixelsWritten(const Shape& s) {
  TXBitmap b(kW, kH);
  b.FillRect({0, 0, kW, kH}, 0xFFFFFF);
  s.setup(b);
  s.engine(b);
  int n = 0;
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x) n += b.GetPixel(x, y) != 0xFFFFFF;
  return n;
}

void RegisterShape(const Shape& s) {
  benchmark::RegisterBenchmark((std::string(s.name) + "/engine").c_str(),
                               [&s](benchmark::State& st) {
                                 TXBitmap b(kW, kH);
                                 b.FillRect({0, 0, kW, kH}, 0xFFFFFF);
                                 s.setup(b);
                                 for (auto _ : st) {
                                   s.engine(b);
                                   benchmark::ClobberMemory();
                                 }
                               });
  benchmark::RegisterBenchmark((std::string(s.name) + "/qt").c_str(), [&s](benchmark::State& st) {
    QImage img(kW, kH, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    s.qsetup(p);
    for (auto _ : st) {
      s.qpainter(p);
      benchmark::ClobberMemory();
    }
  });
  const int pixels = PixelsWritten(s);
  benchmark::RegisterBenchmark((std::string(s.name) + "/memset").c_str(),
                               [pixels](benchmark::State& st) {
                                 std::vector<uint32_t> buf(size_t(kW) * kH);
                                 for (auto _ : st) {
                                   std::memset(buf.data(), 0x40, size_t(pixels) * 4);
                                   benchmark::DoNotOptimize(buf.data());
                                   benchmark::ClobberMemory();
                                 }
                                 st.counters["pixels"] = pixels;
                               });
}

void RegisterCopyScaled() {
  auto source = [] {
    auto src = std::make_shared<TXBitmap>(120, 120);
    src->FillRect({0, 0, 120, 120}, 0xF3FFFF);
    src->SetPenLevel(0);
    src->SetFillLevel(0);
    src->SetPenColor(0x0080E0);
    src->SetFillColor(0xC0C0C0);
    src->SetPenWidth(6);
    src->Ellipse(15, 15, 105, 105);
    return src;
  };
  auto engine = [source](benchmark::State& st) {
    auto src = source();
    TXBitmap dst(40, 40);
    for (auto _ : st) {
      dst.CopyScaled({0, 0, 40, 40}, *src, {0, 0, 120, 120});
      benchmark::ClobberMemory();
    }
  };
  auto floor = [](benchmark::State& st) {
    std::vector<uint32_t> buf(1600);
    for (auto _ : st) {
      std::memset(buf.data(), 0x40, buf.size() * 4);
      benchmark::DoNotOptimize(buf.data());
      benchmark::ClobberMemory();
    }
    st.counters["pixels"] = 1600;
  };
  benchmark::RegisterBenchmark("CopyScaled_120_to_40/engine", engine);
  benchmark::RegisterBenchmark("CopyScaled_120_to_40/qt", [source](benchmark::State& st) {
    auto src = source();
    const QImage in = src->Image();
    QImage out(40, 40, QImage::Format_RGB32);
    QPainter p(&out);
    p.setRenderHint(QPainter::SmoothPixmapTransform, true);
    for (auto _ : st) {
      p.drawImage(QRect(0, 0, 40, 40), in);
      benchmark::ClobberMemory();
    }
  });
  benchmark::RegisterBenchmark("CopyScaled_120_to_40/memset", floor);
  benchmark::RegisterBenchmark("CopyScaled_vs_QImage_scaled/engine", engine);
  benchmark::RegisterBenchmark("CopyScaled_vs_QImage_scaled/qt", [source](benchmark::State& st) {
    auto src = source();
    const QImage in = src->Image();
    for (auto _ : st) {
      QImage out = in.scaled(40, 40, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
      benchmark::DoNotOptimize(out.constBits());
    }
  });
  benchmark::RegisterBenchmark("CopyScaled_vs_QImage_scaled/memset", floor);
}

// The closing table of medians and ratios.
class TableReporter : public zam_bench::MedianReporter {
 public:
  void PrintTable() const {
    std::printf("\n%-28s %12s %12s %12s %8s\n", "shape", "engine ns", "Qt ns", "memset ns",
                "ratio");
    for (const std::string& name : order) {
      const auto slash = name.rfind("/engine");
      if (slash == std::string::npos) continue;
      const std::string shape = name.substr(0, slash);
      const auto q = medians.find(shape + "/qt");
      const auto m = medians.find(shape + "/memset");
      if (q == medians.end() || m == medians.end()) continue;
      const double e = medians.at(name);
      const bool reportOnly = shape.rfind("CopyScaled", 0) == 0;
      std::printf("%-28s %12.1f %12.1f %12.1f %8.2f%s\n", shape.c_str(), e, q->second, m->second,
                  e / q->second, reportOnly ? "  (reported only)" : "");
    }
  }
};

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM",
          qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
  QGuiApplication app(argc, argv);
  zam_bench::InitializeWithMedians(argc, argv);
  for (const Shape& s : Shapes()) RegisterShape(s);
  RegisterCopyScaled();
  TableReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  reporter.PrintTable();
  benchmark::Shutdown();
  return 0;
}
