#include "engine_reply.h"

#include <cstring>

#include "engine_player.h"
#include "heapkit.h"

namespace {
RoomReplyQueue* g_queue = nullptr;
}

EngineReplyBlock* AllocEngineReply(int kind, const Guid* game, int side) {
  auto* block = static_cast<EngineReplyBlock*>(memAlloc_rel(sizeof(EngineReplyBlock), 66));
  if (!block) return nullptr;
  std::memset(static_cast<void*>(block), 0, sizeof *block);
  block->kind = kind;
  if (game) block->game = *game;
  block->side = side;
  return block;
}

void FreeEngineReply(EngineReplyBlock* block) {
  if (block) memFree_rel(block);
}

LockedRoomReplyQueue::~LockedRoomReplyQueue() {
  for (EngineReplyBlock* b : blocks_) FreeEngineReply(b);
}

void LockedRoomReplyQueue::PostRoomEvent(EngineReplyBlock* block) {
  if (!block) return;
  std::lock_guard<std::mutex> guard(lock_);
  blocks_.push_back(block);
}

EngineReplyBlock* LockedRoomReplyQueue::Take() {
  std::lock_guard<std::mutex> guard(lock_);
  if (blocks_.empty()) return nullptr;
  EngineReplyBlock* b = blocks_.front();
  blocks_.pop_front();
  return b;
}

void LockedRoomReplyQueue::DiscardGame(const Guid* game) {
  // No game: every queued block goes.
  std::lock_guard<std::mutex> guard(lock_);
  for (auto it = blocks_.begin(); it != blocks_.end();) {
    if (!game || GuidEqual(&(*it)->game, game)) {
      FreeEngineReply(*it);
      it = blocks_.erase(it);
    } else {
      ++it;
    }
  }
}

int LockedRoomReplyQueue::Drain() {
  int n = 0;
  while (EngineReplyBlock* b = Take()) {
    DispatchEngineOutput(b);
    ++n;
  }
  return n;
}

size_t LockedRoomReplyQueue::Size() {
  std::lock_guard<std::mutex> guard(lock_);
  return blocks_.size();
}

void SetRoomReplyQueue(RoomReplyQueue* queue) { g_queue = queue; }

void PostRoomEvent(EngineReplyBlock* block) {
  if (!block) return;
  if (g_queue)
    g_queue->PostRoomEvent(block);
  else
    FreeEngineReply(block);
}

void DiscardRoomEvents(const Guid* game) {
  if (g_queue) g_queue->DiscardGame(game);
}
