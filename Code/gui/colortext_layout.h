// The colour text control's layout, free of the window system: its entries
// (coloured, styled runs of text), how they wrap word by word onto lines of a
// given width, the parts (one piece of one entry on one line), the current
// entry with its marked parts, and the searches and keyboard moves between
// selectable entries. colortext_wnd.cpp puts it on a window; text is measured
// and new lines are announced through a CtHost.
//
// Interface: ColorTextEntry, CtHost, ctFitText, ColorTextLayout.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// What a caller hands to CTM_ADDENTRY and gets back from CTM_GETCURENTRY:
// five words. CTM_ADDENTRY returns a pointer to the stored copy's five words,
// whose text lives inside the copy.
struct ColorTextEntry {
  uint32_t colour;  // RGB or palette colour, used with kCtOwnColour
  const char* text;
  int32_t reserved;  // kept, not used
  uint32_t data;
  uint32_t flags;
};

enum : uint32_t {
  kCtOwnColour = 0x1,
  kCtSelectable = 0x10,
  kCtItalic = 0x100,
  kCtBold = 0x200,
};

enum : unsigned {
  CTM_ADDENTRY = 0x8621,
  CTM_GETCURENTRY = 0x8626,
  CTM_SETCURENTRY = 0x8627,
  CTM_FINDENTRY = 0x8628,
  CTM_SETMARGIN = 0x8629,
  CTM_GETMARGIN = 0x862A,
  CTM_RESETCONTENT = 0x862C,
  CTM_GETSEPARATORS = 0x862D,
  CTM_SETSEPARATORS = 0x862E,
};

constexpr int32_t kCtDefaultMargin = 6;
constexpr int32_t kCtMaxMargin = 0xFFFF;  // margins beyond are laid out as this (negative ones as 0)
constexpr char kCtDefaultSeparators[] = " \t\r\n";
constexpr int32_t kCtSelectedMark = 16;
// Below this wrap width nothing is laid out (the control is not yet sized).
constexpr int32_t kCtMinWrapWidth = 17;

// Text measuring and the view behind the lines.
class CtHost {
 public:
  virtual ~CtHost() = default;
  // How many of the first `length` characters fit in `room` pixels, in the
  // font of an entry with these flags.
  virtual int32_t Fit(uint32_t flags, const char* text, int32_t length, int32_t room) = 0;
  virtual int32_t Width(uint32_t flags, const char* text, int32_t length) = 0;
  // A line was appended; false stops the wrap (no room for it). The host
  // may lay everything out anew from inside this call (a scroll bar that
  // appeared changes the width): the layout notices and stops.
  virtual bool LineAdded(int32_t index) = 0;
  virtual void LineChanged(int32_t index) = 0;
};

enum CtFitKind { kCtFitAll, kCtFitNextLine, kCtFitBroken };
struct CtFitResult {
  CtFitKind kind;
  int32_t width;   // of the placed characters
  int32_t length;  // characters placed; a broken piece's rest starts at its separator
};

// How much of `text` goes on a line with `room` pixels left.
CtFitResult ctFitText(CtHost& host, uint32_t flags, const char* text, int32_t length, int32_t room,
                      const std::string& separators);

struct CtPart {
  int32_t index;
  int32_t textPos;  // inside the entry's text
  int32_t x;
  int32_t entry;  // entry index
  int32_t width;
  int32_t length;
  int32_t selected;  // kCtSelectedMark while its entry is current
  int32_t partNo;    // 0, 1, ... within its entry
  int32_t line;
};

struct CtLine {
  int32_t index;
  int32_t partCount;
  int32_t firstEntry;  // -1 while the line is empty
  int32_t width;
  int32_t firstPart;
};

class ColorTextLayout {
 public:
  ColorTextLayout();

  // Stores a copy (a null text is taken as empty) and wraps it after the
  // entries before it. Null only when memory runs out.
  const ColorTextEntry* Add(const ColorTextEntry& entry, CtHost& host);
  // Empties lines, parts and the selection; the entries stay.
  void ClearLayout();
  // Everything, entries too.
  void Clear();
  // Wraps every entry again from the first line; an entry that fits nowhere
  // is left out and the next one follows. False when the host stopped it.
  bool WrapAll(CtHost& host);

  int32_t wrapWidth() const { return wrapWidth_; }
  void setWrapWidth(int32_t w) { wrapWidth_ = w; }
  int32_t margin() const { return margin_; }
  int32_t setMargin(int32_t m);  // returns the previous
  const std::string& separators() const { return separators_; }
  void setSeparators(const char* s) { separators_ = s ? s : ""; }

  int32_t entryCount() const { return int32_t(entries_.size()); }
  const ColorTextEntry& entry(int32_t i) const { return entries_[size_t(i)]->head; }
  const std::vector<CtLine>& lines() const { return lines_; }
  const std::vector<CtPart>& parts() const { return parts_; }
  // The index of a stored entry given by its address; -1 for any other.
  int32_t IndexOf(const ColorTextEntry* stored) const;
  int32_t FirstPartOf(int32_t entry) const;  // -1 when it was not placed
  // Lines holding parts of the entry (first > last when none).
  void EntryLines(int32_t entry, int32_t* first, int32_t* last) const;

  // Selection. Current entry -1 when none.
  int32_t current() const { return current_; }
  // Makes the entry of the part current and marks its parts when it is
  // selectable; lines whose look changed are appended to `changed`.
  void Select(int32_t part, std::vector<int32_t>* changed);
  void ClearSelection(std::vector<int32_t>* changed);

  // The part under x on a line, or -1.
  int32_t HitPart(int32_t line, int32_t x) const;
  // The part a navigation key (0x21-0x28) moves the selection to, or -1 for
  // none (no current entry, nothing there, or already selected).
  int32_t NavigationTarget(int key) const;
  // CTM_FINDENTRY: mode 0 equal text, 1 containing, 2 containing ignoring
  // case, 3 data word equal to `data`. -1 when none.
  int32_t Find(int mode, const char* text, uint32_t data) const;

 private:
  struct Stored {
    ColorTextEntry head;
    std::string text;
  };
  enum WrapResult { kPlaced, kNotPlaced, kStopped };
  WrapResult NewLine(CtHost& host);
  WrapResult Wrap(int32_t entry, CtHost& host);
  bool Selectable(int32_t part) const;

  std::vector<std::unique_ptr<Stored>> entries_;
  std::vector<CtLine> lines_;
  std::vector<CtPart> parts_;
  std::string separators_;
  int32_t wrapWidth_ = 0;
  int32_t margin_ = kCtDefaultMargin;
  int32_t current_ = -1;
  std::vector<int32_t> selected_;  // parts of the current entry
  uint32_t generation_ = 0;        // bumped whenever the lines are emptied
};
