#include "platform/steam.h"

#include <algorithm>
#include <vector>

namespace {

// Made on first use and never destroyed: static objects register before
// main and unregister during exit.
std::vector<CCallbackBase*>& Callbacks() {
  static auto* list = new std::vector<CCallbackBase*>();
  return *list;
}

ISteamUser* g_user = nullptr;
ISteamUtils* g_utils = nullptr;
ISteamUserStats* g_stats = nullptr;

}  // namespace

bool SteamAPI_Init() { return false; }  // no store client in this build

void SteamAPI_Shutdown() {}

void SteamAPI_RunCallbacks() {}

void SteamAPI_RegisterCallback(CCallbackBase* callback, int id) {
  if (!callback) return;
  callback->m_iCallback = id;
  callback->m_nCallbackFlags |= 1;
  if (std::find(Callbacks().begin(), Callbacks().end(), callback) == Callbacks().end())
    Callbacks().push_back(callback);
}

void SteamAPI_UnregisterCallback(CCallbackBase* callback) {
  if (!callback) return;
  callback->m_nCallbackFlags &= static_cast<uint8_t>(~1u);
  Callbacks().erase(std::remove(Callbacks().begin(), Callbacks().end(), callback), Callbacks().end());
}

void SteamAPI_RegisterCallResult(CCallbackBase* result, SteamAPICall_t call) {
  if (!result || call == 0) return;
  SteamAPI_RegisterCallback(result, result->m_iCallback);
}

void SteamAPI_UnregisterCallResult(CCallbackBase* result, SteamAPICall_t) { SteamAPI_UnregisterCallback(result); }

void* SteamInternal_ContextInit(void*) { return nullptr; }
HSteamUser SteamAPI_GetHSteamUser() { return 0; }
void* SteamInternal_FindOrCreateUserInterface(HSteamUser, const char*) { return nullptr; }

ISteamUser* SteamUser() { return g_user; }
ISteamUtils* SteamUtils() { return g_utils; }
ISteamFriends* SteamFriends() { return nullptr; }
ISteamUserStats* SteamUserStats() { return g_stats; }

int SteamRegisteredCallbackCount() { return static_cast<int>(Callbacks().size()); }

bool SteamIsCallbackRegistered(const CCallbackBase* callback) {
  return std::find(Callbacks().begin(), Callbacks().end(), callback) != Callbacks().end();
}

void SteamInstallTestInterfaces(ISteamUser* user, ISteamUtils* utils, ISteamUserStats* stats) {
  g_user = user;
  g_utils = utils;
  g_stats = stats;
}

void SteamDeliverCallback(int id, void* param) {
  const std::vector<CCallbackBase*> now = Callbacks();  // handlers may unregister
  for (CCallbackBase* c : now)
    if (c->m_iCallback == id && !dynamic_cast<CCallResultBase*>(c) && SteamIsCallbackRegistered(c)) c->Run(param);
}

bool SteamDeliverCallResult(SteamAPICall_t call, void* param, bool ioFailure) {
  const std::vector<CCallbackBase*> now = Callbacks();
  for (CCallbackBase* c : now) {
    auto* r = dynamic_cast<CCallResultBase*>(c);
    if (r && r->m_hAPICall == call && call != 0) {
      r->RunResult(param, ioFailure);
      return true;
    }
  }
  return false;
}
