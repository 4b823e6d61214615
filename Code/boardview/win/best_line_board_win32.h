// The best-line board, "Visual Thinking" (numbered window 9): a miniature
// board composed from fixed pictures showing the end of the line the
// advisor engine thinks best, with buttons to step through it; it keeps the
// advisor analysing while it is shown.
//
// Interface: BestLineHost, CreateBestLineBoard, DestroyBestLineBoard,
// PostBestLineUpdate, BestLineBoardWindow, GetBestLineState.
#pragma once

#include <windows.h>

#include <string>

#include "best_line.h"

class BestLineHost {
 public:
  virtual ~BestLineHost() = default;
  virtual HWND MainWindow() = 0;
  // The module holding the pictures ("bestlineboard", "wk" .. "bp", "wsquare", "bsquare").
  virtual HMODULE PictureModule() = 0;
  virtual HPALETTE Palette() = 0;
  virtual bool HaveGame() = 0;
  virtual const Board& Position() = 0;
  virtual int SideToMove() = 0;
  // Bit 0 of the game's engine-mode word: its advisor analyses.
  virtual bool AdvisorAnalyses() = 0;
  virtual std::string ThinkingLine() = 0;
  virtual int StartEngineAnalysis() = 0;
  virtual void StopEngineAnalysis(int analysis) = 0;
  virtual void SetNumberedWindow(int number, HWND window) = 0;
  virtual void StoreWindowRect(int number, const RECT& rect) = 0;
  virtual void ToggleMenuCheck(int command) = 0;
};

constexpr int kBestLineWindowNumber = 9;
constexpr int kBestLineMenuCommand = 32;

// 0, or -1 for a null argument.
int CreateBestLineBoard(HWND parent, HINSTANCE instance, BestLineHost* host);
void DestroyBestLineBoard(HWND window);
// Command 1 to the window: a new thinking line came in.
void PostBestLineUpdate(HWND window, const void* game);
HWND BestLineBoardWindow();
// The window's line state (tests), null without the window.
const BestLine* GetBestLineState(HWND window);
