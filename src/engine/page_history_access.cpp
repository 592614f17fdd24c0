#include "engine/page_history_access.h"

#include <cstdio>
#include <cstring>

namespace {
struct Frame {
  char caption[32];
  int32_t type;
  int32_t parameter;
};
Frame g_frames[100] = {};
int g_depth = 0;
}  // namespace

int32_t TopPageType() { return g_frames[g_depth].type; }
int32_t TopPageParameter() { return g_frames[g_depth].parameter; }
const char* TopPageCaption() { return g_frames[g_depth].caption; }

void SetFirstPage(const char* caption, int32_t type, int32_t parameter) {
  g_depth = 0;
  std::memset(g_frames[0].caption, 0, sizeof g_frames[0].caption);
  std::snprintf(g_frames[0].caption, sizeof g_frames[0].caption, "%s", caption);
  g_frames[0].type = type;
  g_frames[0].parameter = parameter;
}

void PushPage(const char* caption, int32_t type, int32_t parameter) {
  if (g_depth < 99) ++g_depth;
  std::memset(g_frames[g_depth].caption, 0, sizeof g_frames[g_depth].caption);
  std::snprintf(g_frames[g_depth].caption, sizeof g_frames[g_depth].caption, "%s", caption);
  g_frames[g_depth].type = type;
  g_frames[g_depth].parameter = parameter;
}

#include "engine/frame.h"

void ShowLocalMapMode() { ScreenMode = 9; }
void ResetHover() {}
int PageDepth() { return g_depth; }
