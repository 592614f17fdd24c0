// The store client's library. This build has no store client: start-up
// reports failure, so the game runs without achievements, statistics or the
// leaderboard, and every other call answers as a client that is not there.
#pragma once
#include <cstdint>

using SteamAPICall_t = uint64_t;
using SteamLeaderboard_t = uint64_t;
using SteamLeaderboardEntries_t = uint64_t;
using HSteamUser = int32_t;

// A registered callback: handler, owner, flags (bit 0: registered) and id.
class CCallbackBase {
 public:
  virtual ~CCallbackBase() = default;
  virtual void Run(void* param) = 0;
  uint8_t m_nCallbackFlags = 0;
  int m_iCallback = 0;
};

// A member callback bound to an owner object.
template <class Owner, class Param>
class CCallbackMember : public CCallbackBase {
 public:
  using Handler = void (Owner::*)(Param*);
  CCallbackMember() = default;
  void Bind(Owner* owner, Handler handler) {
    owner_ = owner;
    handler_ = handler;
  }
  void Run(void* param) override {
    if (owner_ && handler_) (owner_->*handler_)(static_cast<Param*>(param));
  }

 private:
  Owner* owner_ = nullptr;
  Handler handler_ = nullptr;
};

// A call result: id, pending call handle, owner and handler.
class CCallResultBase : public CCallbackBase {
 public:
  SteamAPICall_t m_hAPICall = 0;
  // Delivers the answer of the pending call.
  virtual void RunResult(void* param, bool ioFailure) = 0;
  void Run(void* param) override { RunResult(param, false); }
};

void SteamAPI_RegisterCallResult(CCallbackBase* result, SteamAPICall_t call);
void SteamAPI_UnregisterCallResult(CCallbackBase* result, SteamAPICall_t call);

// A call result bound to an owner: setting it drops a pending call, keeps the
// new call, owner and handler, and registers when the call is not 0.
template <class Owner, class Param>
class CCallResult : public CCallResultBase {
 public:
  using Handler = void (Owner::*)(Param*, bool);
  explicit CCallResult(int id = 0) { m_iCallback = id; }
  ~CCallResult() override { Cancel(); }
  void Set(SteamAPICall_t call, Owner* owner, Handler handler) {
    Cancel();
    m_hAPICall = call;
    owner_ = owner;
    handler_ = handler;
    if (call != 0) SteamAPI_RegisterCallResult(this, call);
  }
  bool IsActive() const { return m_hAPICall != 0; }
  void Cancel() {
    if (m_hAPICall != 0) SteamAPI_UnregisterCallResult(this, m_hAPICall);
    m_hAPICall = 0;
  }
  void RunResult(void* param, bool ioFailure) override {
    m_hAPICall = 0;
    SteamAPI_UnregisterCallResult(this, 0);
    if (owner_ && handler_) (owner_->*handler_)(static_cast<Param*>(param), ioFailure);
  }

 private:
  Owner* owner_ = nullptr;
  Handler handler_ = nullptr;
};

// Notification payloads.
struct GameOverlayActivated_t {
  uint8_t m_bActive;
};
struct UserStatsReceived_t {
  uint64_t m_nGameID;
  int32_t m_eResult;
};
struct UserStatsStored_t {
  uint64_t m_nGameID;
  int32_t m_eResult;
};
struct UserAchievementStored_t {
  uint64_t m_nGameID;
};
struct LeaderboardFindResult_t {
  SteamLeaderboard_t m_hSteamLeaderboard;
  uint8_t m_bLeaderboardFound;
};
struct LeaderboardScoresDownloaded_t {
  SteamLeaderboard_t m_hSteamLeaderboard;
  SteamLeaderboardEntries_t m_hSteamLeaderboardEntries;
  int32_t m_cEntryCount;
};
struct LeaderboardScoreUploaded_t {
  uint8_t m_bSuccess;
};
struct LeaderboardEntry_t {
  uint64_t m_steamIDUser;
  int32_t m_nGlobalRank;
  int32_t m_nScore;
  int32_t m_cDetails;
  uint64_t m_hUGC;  // the user's attached content, 0 none
};

class ISteamUser {
 public:
  virtual ~ISteamUser() = default;
  virtual bool BLoggedOn() = 0;
};
class ISteamUtils {
 public:
  virtual ~ISteamUtils() = default;
  virtual uint32_t GetAppID() = 0;
};
class ISteamFriends {
 public:
  virtual ~ISteamFriends() = default;
  // A player's display name ("" when unknown).
  virtual const char* GetFriendPersonaName(uint64_t player) {
    (void)player;
    return "";
  }
};
class ISteamUserStats {
 public:
  virtual ~ISteamUserStats() = default;
  virtual bool RequestCurrentStats() = 0;
  virtual bool GetAchievement(const char* name, bool* achieved) = 0;
  virtual const char* GetAchievementDisplayAttribute(const char* name, const char* key) = 0;
  virtual bool SetAchievement(const char* name) = 0;
  virtual bool StoreStats() = 0;
  virtual SteamAPICall_t FindLeaderboard(const char* name) = 0;
  virtual int GetLeaderboardEntryCount(SteamLeaderboard_t board) = 0;
  virtual SteamAPICall_t DownloadLeaderboardEntries(SteamLeaderboard_t board, int request, int start,
                                                    int end) = 0;
  virtual bool GetDownloadedLeaderboardEntry(SteamLeaderboardEntries_t entries, int index,
                                             LeaderboardEntry_t* entry, int32_t* details,
                                             int maxDetails) = 0;
  virtual SteamAPICall_t UploadLeaderboardScore(SteamLeaderboard_t board, int method, int32_t score,
                                                const int32_t* details, int detailCount) = 0;
};

// Callback ids.
enum : int {
  kCallbackGameOverlayActivated = 331,
  kCallbackUserStatsReceived = 1101,
  kCallbackUserStatsStored = 1102,
  kCallbackUserAchievementStored = 1103,
  kCallbackLeaderboardFindResult = 1104,
  kCallbackLeaderboardScoresDownloaded = 1105,
  kCallbackLeaderboardScoreUploaded = 1106,
};

bool SteamAPI_Init();
void SteamAPI_Shutdown();
void SteamAPI_RunCallbacks();
void SteamAPI_RegisterCallback(CCallbackBase* callback, int id);
void SteamAPI_UnregisterCallback(CCallbackBase* callback);
void* SteamInternal_ContextInit(void* context);
HSteamUser SteamAPI_GetHSteamUser();
void* SteamInternal_FindOrCreateUserInterface(HSteamUser user, const char* version);

ISteamUser* SteamUser();
ISteamUtils* SteamUtils();
ISteamFriends* SteamFriends();
ISteamUserStats* SteamUserStats();

// For tests: how many callbacks are registered now, and whether one is.
int SteamRegisteredCallbackCount();
bool SteamIsCallbackRegistered(const CCallbackBase* callback);

// For tests: a double of the store client. The interfaces given here answer
// SteamUser, SteamUtils and SteamUserStats (null puts the absent client back);
// a notification is delivered to every callback registered for its id, and
// the answer of a call to the call result waiting for it.
void SteamInstallTestInterfaces(ISteamUser* user, ISteamUtils* utils, ISteamUserStats* stats);
void SteamDeliverCallback(int id, void* param);
bool SteamDeliverCallResult(SteamAPICall_t call, void* param, bool ioFailure);
