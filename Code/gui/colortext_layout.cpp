// The colour text control's layout: see colortext_layout.h.
#include "colortext_layout.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <new>

namespace {

bool IsSeparator(const std::string& separators, char c) {
  return c != '\0' && separators.find(c) != std::string::npos;
}

bool ContainsNoCase(const std::string& text, const char* key) {
  size_t n = std::strlen(key);
  if (n > text.size()) return false;
  for (size_t i = 0; i + n <= text.size(); ++i) {
    size_t k = 0;
    while (k < n && std::tolower(static_cast<unsigned char>(text[i + k])) ==
                        std::tolower(static_cast<unsigned char>(key[k])))
      ++k;
    if (k == n) return true;
  }
  return false;
}

}  // namespace

CtFitResult ctFitText(CtHost& host, uint32_t flags, const char* text, int32_t length, int32_t room,
                      const std::string& separators) {
  const CtFitResult nextLine{kCtFitNextLine, 0, 0};
  if (room < 0 || length < 0) return nextLine;
  // No more than room + 1 characters can fit (each is at least a pixel
  // wide): measuring only those keeps a long entry's wrap linear in its
  // length rather than measuring the whole rest again for every line.
  const int32_t probe = room < length ? room + 1 : length;
  int32_t n = host.Fit(flags, text, probe, room);
  if (n >= length) return CtFitResult{kCtFitAll, host.Width(flags, text, length), length};
  n = std::min(std::max(n, 0), probe);
  // Back from the first character that does not fit to a separator; the
  // piece before it goes on this line, the rest starts at the separator.
  int32_t p = n;
  while (p >= 1 && !IsSeparator(separators, text[p])) --p;
  if (p < 1 || n < 3) return nextLine;
  for (;;) {
    int32_t w = host.Width(flags, text, p);
    if (w <= room) return CtFitResult{kCtFitBroken, w, p};
    do --p;
    while (p >= 1 && !IsSeparator(separators, text[p]));
    if (p < 1) return nextLine;
  }
}

ColorTextLayout::ColorTextLayout() : separators_(kCtDefaultSeparators) {}

int32_t ColorTextLayout::setMargin(int32_t m) {
  int32_t old = margin_;
  margin_ = m;
  return old;
}

const ColorTextEntry* ColorTextLayout::Add(const ColorTextEntry& entry, CtHost& host) {
  std::unique_ptr<Stored> s(new (std::nothrow) Stored);
  if (!s) return nullptr;
  s->head = entry;
  s->text = entry.text ? entry.text : "";
  s->head.text = s->text.c_str();
  entries_.push_back(std::move(s));
  const int32_t index = int32_t(entries_.size()) - 1;
  const ColorTextEntry* stored = &entries_.back()->head;
  // An unsized control lays nothing out: its first size wraps everything.
  if (wrapWidth_ < kCtMinWrapWidth) return stored;
  if (lines_.empty() || lines_.back().width >= wrapWidth_)
    if (NewLine(host) != kPlaced) return stored;
  Wrap(index, host);
  return stored;
}

void ColorTextLayout::ClearLayout() {
  lines_.clear();
  parts_.clear();
  selected_.clear();
  current_ = -1;
  ++generation_;
}

void ColorTextLayout::Clear() {
  ClearLayout();
  entries_.clear();
}

bool ColorTextLayout::WrapAll(CtHost& host) {
  if (wrapWidth_ < kCtMinWrapWidth) return true;
  for (int32_t i = 0; i < entryCount(); ++i) {
    if (lines_.empty() || lines_.back().width >= wrapWidth_)
      if (NewLine(host) != kPlaced) return false;
    if (Wrap(i, host) == kStopped) return false;
  }
  return true;
}

ColorTextLayout::WrapResult ColorTextLayout::NewLine(CtHost& host) {
  const int32_t index = int32_t(lines_.size());
  lines_.push_back(CtLine{index, 0, -1, 0, int32_t(parts_.size())});
  const uint32_t generation = generation_;
  const int32_t width = wrapWidth_;
  bool ok = host.LineAdded(index);
  // Laid out anew meanwhile (or to another width): this wrap is over.
  if (generation != generation_ || width != wrapWidth_) return kStopped;
  if (!ok) {
    lines_.pop_back();
    return kStopped;
  }
  return kPlaced;
}

ColorTextLayout::WrapResult ColorTextLayout::Wrap(int32_t e, CtHost& host) {
  const Stored& s = *entries_[size_t(e)];
  // The margin as stored is the caller's; laid out, it stays in a range
  // where no sum below can overflow.
  const int32_t margin = std::min(std::max(margin_, 0), kCtMaxMargin);
  const int32_t length = int32_t(s.text.size() > 0x7FFFFFF ? 0x7FFFFFF : s.text.size());
  int32_t pos = 0, partNo = 0;
  for (;;) {
    CtLine& line = lines_.back();
    const int32_t x = line.width;
    CtFitResult fit = ctFitText(host, s.head.flags, s.text.c_str() + pos, length - pos,
                                wrapWidth_ - x - margin, separators_);
    if (fit.kind == kCtFitNextLine) {
      if (line.width == 0) return kNotPlaced;  // not even an empty line holds it
      WrapResult r = NewLine(host);
      if (r != kPlaced) return r;
      continue;
    }
    const int32_t width = fit.kind == kCtFitAll ? fit.width + margin : fit.width;
    CtPart part{int32_t(parts_.size()), pos, x, e, width, fit.length, 0, partNo, line.index};
    parts_.push_back(part);
    if (line.partCount++ == 0) {
      line.firstEntry = e;
      line.firstPart = part.index;
    }
    line.width += width;
    host.LineChanged(line.index);
    if (fit.kind == kCtFitAll) {
      if (wrapWidth_ <= line.width + margin && NewLine(host) == kStopped) return kStopped;
      return kPlaced;
    }
    pos += fit.length;
    ++partNo;
    WrapResult r = NewLine(host);
    if (r != kPlaced) return r;
  }
}

int32_t ColorTextLayout::IndexOf(const ColorTextEntry* stored) const {
  if (!stored) return -1;
  for (size_t i = 0; i < entries_.size(); ++i)
    if (&entries_[i]->head == stored) return int32_t(i);
  return -1;
}

int32_t ColorTextLayout::FirstPartOf(int32_t entry) const {
  for (const CtPart& p : parts_)
    if (p.entry == entry) return p.index;
  return -1;
}

void ColorTextLayout::EntryLines(int32_t entry, int32_t* first, int32_t* last) const {
  *first = 0;
  *last = -1;
  int32_t p = FirstPartOf(entry);
  if (p < 0) return;
  *first = *last = parts_[size_t(p)].line;
  for (; p < int32_t(parts_.size()) && parts_[size_t(p)].entry == entry; ++p) *last = parts_[size_t(p)].line;
}

void ColorTextLayout::ClearSelection(std::vector<int32_t>* changed) {
  for (int32_t p : selected_) {
    parts_[size_t(p)].selected = 0;
    if (changed) changed->push_back(parts_[size_t(p)].line);
  }
  selected_.clear();
  current_ = -1;
}

void ColorTextLayout::Select(int32_t part, std::vector<int32_t>* changed) {
  if (part < 0 || part >= int32_t(parts_.size())) return;
  ClearSelection(changed);
  const CtPart& given = parts_[size_t(part)];
  const int32_t e = given.entry;
  current_ = e;
  const int32_t first = given.index - given.partNo;
  if (!(entries_[size_t(e)]->head.flags & kCtSelectable)) return;
  for (int32_t p = first; p < int32_t(parts_.size()); ++p) {
    CtPart& q = parts_[size_t(p)];
    if (p > first && q.partNo <= parts_[size_t(p - 1)].partNo) break;  // the next entry
    q.selected = kCtSelectedMark;
    selected_.push_back(p);
    if (changed) changed->push_back(q.line);
  }
}

int32_t ColorTextLayout::HitPart(int32_t line, int32_t x) const {
  if (line < 0 || line >= int32_t(lines_.size())) return -1;
  const CtLine& l = lines_[size_t(line)];
  for (int32_t p = l.firstPart; p < l.firstPart + l.partCount; ++p) {
    const CtPart& q = parts_[size_t(p)];
    if (x >= q.x && x <= q.x + q.width) return p;
  }
  return -1;
}

bool ColorTextLayout::Selectable(int32_t part) const {
  return (entries_[size_t(parts_[size_t(part)].entry)]->head.flags & kCtSelectable) != 0;
}

int32_t ColorTextLayout::NavigationTarget(int key) const {
  if (current_ < 0) return -1;
  const int32_t cur = FirstPartOf(current_);
  if (cur < 0) return -1;
  const int32_t n = int32_t(parts_.size());
  int32_t t = -1;
  switch (key) {
    case 0x24:  // Home
      for (t = 0; t < n && !Selectable(t);) ++t;
      break;
    case 0x23:  // End
      for (t = n - 1; t >= 0 && !Selectable(t);) --t;
      break;
    case 0x25:  // Left
      for (t = cur - 1; t >= 0 && !Selectable(t);) --t;
      break;
    case 0x27:  // Right
      for (t = cur; t < n && parts_[size_t(t)].entry == current_;) ++t;
      while (t < n && !Selectable(t)) ++t;
      break;
    case 0x26:    // Up
    case 0x28: {  // Down
      const CtPart& c = parts_[size_t(cur)];
      const int32_t line = c.line + (key == 0x26 ? -1 : 1);
      if (line < 0 || line >= int32_t(lines_.size())) return -1;
      const int32_t x = c.x + c.width / 2;
      int32_t best = -1, distance = 10000;
      const CtLine& l = lines_[size_t(line)];
      for (int32_t p = l.firstPart; p < l.firstPart + l.partCount; ++p) {
        if (!Selectable(p)) continue;
        const CtPart& q = parts_[size_t(p)];
        const int32_t d = std::abs(q.x + q.width / 2 - x);
        if (q.x <= x) {
          best = p;  // the last one beginning left of x
          distance = d;
        } else {
          if (d < distance) best = p;  // the first one beginning right of x, when nearer
          break;
        }
      }
      t = best;
      break;
    }
    default:  // Page Up and Page Down move no selection
      return -1;
  }
  if (t < 0 || t >= n) return -1;
  if (parts_[size_t(t)].selected || parts_[size_t(t)].entry == current_) return -1;
  return t;
}

int32_t ColorTextLayout::Find(int mode, const char* text, uint32_t data) const {
  if (mode == 3) {
    for (size_t i = 0; i < entries_.size(); ++i)
      if (entries_[i]->head.data == data) return int32_t(i);
    return -1;
  }
  if (mode < 0 || mode > 2 || !text || !*text) return -1;
  for (size_t i = 0; i < entries_.size(); ++i) {
    const std::string& t = entries_[i]->text;
    bool match = mode == 0   ? t == text
                 : mode == 1 ? t.find(text) != std::string::npos
                             : ContainsNoCase(t, text);
    if (match) return int32_t(i);
  }
  return -1;
}
