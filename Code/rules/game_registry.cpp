#include "game_registry.h"

#include <cstring>
#include <mutex>
#include <new>

#include "game_record.h"

namespace {

// The registry record, kept as the user data of its list.
struct GameRegistry {
  uint32_t count;
  GameRecord* current;
  std::mutex lock;
};

LinkedList* g_registryList = nullptr;

GameRegistry* Registry() {
  LinkedList* list = GetGameRegistry();
  return list ? static_cast<GameRegistry*>(GetListData(list)) : nullptr;
}

GameRegistryEntry* FindEntry(LinkedList* list, const Guid* guid, ListNode** where) {
  for (ListNode* n = list->first; n; n = n->next) {
    auto* entry = static_cast<GameRegistryEntry*>(n->data);
    if (MatchGameGuid(guid, entry)) {
      if (where) *where = n;
      return entry;
    }
  }
  return nullptr;
}

bool IsRegistered(LinkedList* list, const GameRecord* game) {
  for (ListNode* n = list->first; n; n = n->next)
    if (static_cast<GameRegistryEntry*>(n->data)->game == game) return true;
  return false;
}

}  // namespace

LinkedList* GetGameRegistry() {
  if (!g_registryList) {
    LinkedList* list = CreateList(sizeof(GameRegistry));
    if (!list) return nullptr;
    new (GetListData(list)) GameRegistry{0, nullptr, {}};
    g_registryList = list;
  }
  return g_registryList;
}

bool InitGameRegistry() { return GetGameRegistry() != nullptr; }

void FreeGameRegistry() {
  if (!g_registryList) return;
  static_cast<GameRegistry*>(GetListData(g_registryList))->~GameRegistry();
  DestroyList(g_registryList);
  g_registryList = nullptr;
}

int RegisterGame(GameRecord* game, uint32_t owner) {
  LinkedList* list = GetGameRegistry();
  if (!game || !list) return -1;
  GameRegistry* registry = Registry();
  std::lock_guard<std::mutex> hold(registry->lock);
  if (registry->count >= kMaxRegisteredGames || IsRegistered(list, game)) return -1;
  if (GuidIsNil(&game->id) && !CreateGuid(&game->id))
    std::memset(game->id.bytes, 0xF1, sizeof game->id.bytes);
  GameRegistryEntry entry{game->id, 0, game, owner, 0};
  if (!AddListItem(list, &entry, sizeof entry, LIST_AT_TAIL)) return -1;
  registry->count++;
  if (!registry->current) registry->current = game;
  return 0;
}

bool MatchGameGuid(const Guid* guid, const GameRegistryEntry* entry) {
  return guid && entry && entry->game &&
         std::memcmp(entry->game->id.bytes, guid->bytes, sizeof guid->bytes) == 0;
}

void UnregisterGame(const Guid* guid) {
  if (!guid || !g_registryList) return;
  LinkedList* list = g_registryList;
  GameRegistry* registry = Registry();
  std::lock_guard<std::mutex> hold(registry->lock);
  ListNode* node = nullptr;
  if (FindEntry(list, guid, &node)) {
    list->cursor = node;
    RemoveListItem(list, 0, LIST_CURSOR);
    registry->count--;
  }
  // Also when the current game was made current without being registered.
  if (registry->current && std::memcmp(registry->current->id.bytes, guid->bytes, sizeof guid->bytes) == 0)
    registry->current = list->first ? static_cast<GameRegistryEntry*>(list->first->data)->game : nullptr;
}

void DestroyAllGames() {
  if (!g_registryList) return;
  LinkedList* list = g_registryList;
  while (list->first) {
    GameRecord* game = static_cast<GameRegistryEntry*>(list->first->data)->game;
    if (!game) {
      list->cursor = list->first;
      RemoveListItem(list, 0, LIST_CURSOR);
      continue;
    }
    UnregisterGame(&game->id);
    DestroyGame(game);
  }
  GameRegistry* registry = Registry();
  std::lock_guard<std::mutex> hold(registry->lock);
  ClearList(list);
  registry->count = 0;
  registry->current = nullptr;
}

GameRecord* GetGameForOwner(uint32_t owner) {
  if (!g_registryList) return nullptr;
  for (ListNode* n = g_registryList->first; n; n = n->next) {
    auto* entry = static_cast<GameRegistryEntry*>(n->data);
    if (entry->owner == owner) return entry->game;
  }
  return nullptr;
}

GameRecord* FindGameByGuid(const Guid* guid) {
  if (!guid || !g_registryList) return nullptr;
  GameRegistry* registry = Registry();
  std::lock_guard<std::mutex> hold(registry->lock);
  GameRegistryEntry* entry = FindEntry(g_registryList, guid, nullptr);
  return entry ? entry->game : nullptr;
}

GameRecord* GetCurrentGame() {
  if (!g_registryList) return nullptr;
  GameRegistry* registry = Registry();
  std::lock_guard<std::mutex> hold(registry->lock);
  return registry->current;
}

GameRecord* SetCurrentGame(GameRecord* game) {
  LinkedList* list = GetGameRegistry();
  if (!list) return nullptr;
  GameRegistry* registry = Registry();
  std::lock_guard<std::mutex> hold(registry->lock);
  GameRecord* previous = registry->current;
  if (game) registry->current = game;
  return previous;
}

int CountRegisteredGames() {
  if (!g_registryList) return 0;
  GameRegistry* registry = Registry();
  std::lock_guard<std::mutex> hold(registry->lock);
  return static_cast<int>(registry->count);
}
