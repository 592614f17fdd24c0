// make_sheets: draws the 66 sprite sheets "Graphics/N.dat" (PNG pictures) from
// the readable sources in content/graphics/, and the contact sheets
// CONTACT_DIR/N.png (each sheet at twice its size, its frames numbered).
//   make_sheets CONTENT_DIR OUTPUT_DIR [CONTACT_DIR]
// Fails with a message naming the file and line of a bad source, and then
// writes no sheet at all.
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <thread>

#include "art.h"
#include "common/tool_files.h"
#include "contact_sheet.h"
#include "engine/sheet_table.h"
#include "frame_map.h"
#include "sources.h"

namespace {

// A sheet or contact sheet that could not be written: one such fault is
// reported for the run, whichever sheets it struck (a read-only folder
// strikes them all).
struct Unwritten : SourceError {
  using SourceError::SourceError;
};

void DrawSheet(const SheetLine& s, const SheetSources& src, const std::string& outDir, const std::string& contactDir,
               OutputFiles* files) {
  const Canvas c = DrawSheetPicture(s, src);
  const SheetFormat f = SheetFormatFor(s.slot);
  const FrameGrid g{f.frameWidth, f.frameHeight, s.width / f.frameWidth, s.height / f.frameHeight};
  const std::string path = outDir + "/" + std::to_string(s.slot) + ".dat";
  auto write = [&](const std::string& place, const Canvas& picture) {
    const std::vector<uint8_t> png = PngBytes(picture);
    if (png.empty()) throw SourceError(place + ": cannot be encoded as PNG");
    if (std::string fault = files->Write(place, png); !fault.empty()) throw Unwritten(fault);
  };
  write(path, c);
  if (!contactDir.empty()) write(contactDir + "/" + std::to_string(s.slot) + ".png", ContactSheet(c, g, src.small));
}

// The run, as main runs it (RunTool stops it on anything it throws).
int Make(int argc, char** argv) {
  if (argc != 3 && argc != 4) {
    std::cerr << "usage: make_sheets CONTENT_DIR OUTPUT_DIR [CONTACT_DIR]\n";
    return 2;
  }
  const std::string contactDir = argc == 4 ? argv[3] : "";
  // The sheets are put in place when every one is drawn and written.
  OutputFiles files;
  try {
    // Every source is read, and every fault of each reported, before a sheet
    // is drawn.
    SourceFaults<SourceError> faults;
    const SheetSources src = ReadSheetSources(argv[1], &faults);
    const std::vector<SheetLine>& sheets = src.sheets;
    faults.Keep([&] { ReadPictureSources(src.large, src.dir); });
    faults.Throw();
    (void)Painters();  // made once, before the threads share it
    // Sheets are independent: draw them on a few threads; the faults of each
    // are reported in the sheets' order.
    const unsigned threads = std::max(1u, std::min(8u, std::thread::hardware_concurrency()));
    std::vector<std::thread> pool;
    std::vector<std::string> errors(sheets.size()), unwritten(sheets.size());
    for (unsigned t = 0; t < threads; ++t)
      pool.emplace_back([&, t]() {
        for (size_t i = t; i < sheets.size(); i += threads) {
          try {
            DrawSheet(sheets[i], src, argv[2], contactDir, &files);
          } catch (const Unwritten& e) {
            unwritten[i] = e.what();
          } catch (const std::exception& e) {
            errors[i] = e.what();
          } catch (...) {
            errors[i] = "sheet " + std::to_string(sheets[i].slot) + ": the tool stopped here: an unknown fault";
          }
        }
      });
    for (auto& th : pool) th.join();
    for (const auto& e : errors)
      if (!e.empty()) faults.Keep([&] { throw SourceError(e); });
    // The first sheet that could not be written stands for the rest.
    const auto first = std::find_if(unwritten.begin(), unwritten.end(), [](const std::string& e) { return !e.empty(); });
    if (first != unwritten.end()) faults.Keep([&] { throw SourceError(*first); });
    if (!faults.Any()) faults.Keep([&] { CheckArtSheets(src); });
    faults.Throw();
    if (std::string fault = files.Commit(); !fault.empty()) throw SourceError(fault);
  } catch (const SourceError& e) {
    // A message of several faults names the tool on each line.
    std::string line;
    std::istringstream lines(e.what());
    size_t count = 0;
    for (; std::getline(lines, line); ++count) std::cerr << "make_sheets: " << line << "\n";
    std::cerr << FaultSummary("make_sheets", count) << "\n";
    return 1;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) { return RunTool("make_sheets", Make, argc, argv); }
