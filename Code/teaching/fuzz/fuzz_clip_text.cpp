// Clip text: any bytes parse into groups and build to the end without a
// crash; event times never go backwards.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "voice_clip.h"

namespace {
class NullSound : public ClipSoundLayer {
 public:
  bool DataSetOpen(int) override { return true; }
  bool LoadItem(int, const std::string& name, VoicePiece* out) override {
    out->kind = static_cast<PieceKind>(name.size() % 5);
    out->bytes.assign(name.size() * 100, 0);
    return name.size() % 3 != 0;
  }
  bool DecodeMp3(const std::vector<uint8_t>& in, std::vector<uint8_t>* pcm, int* rate) override {
    pcm->assign(in.size(), 0);
    *rate = 44100;
    return true;
  }
  std::string NewStreamFile() override { return "s"; }
  bool AppendToStream(const std::string&, const uint8_t*, size_t) override { return true; }
  void DeleteStream(const std::string&) override {}
  void QueueSamplePiece(PieceKind, const std::vector<uint8_t>&) override {}
};
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  ParseClipGroups(text);
  std::string tag;
  MarkupVoiceTag(text, &tag);
  NullSound sound;
  ClipBuilder b(&sound, size % 2 ? 2 : 5, text, {});
  while (b.Step()) {
  }
  int32_t last = 0;
  for (const ClipEvent& e : b.Events()) {
    if (e.timeMs < last) std::abort();
    last = e.timeMs;
  }
  return 0;
}
