#include "engine/page_history_access.h"

#include <cstdio>
#include <cstring>

namespace {
int Top() { return PageDepth >= 0 && PageDepth < kPageHistorySize ? PageDepth : 0; }
}  // namespace

int32_t TopPageType() { return PageHistory[Top()].type; }
int32_t TopPageParameter() { return PageHistory[Top()].parameter; }
const char* TopPageCaption() { return PageHistory[Top()].caption; }

void SetFirstPage(const char* caption, int32_t type, int32_t parameter) {
  PageDepth = 0;
  PageHighestDepth = 0;
  PageFrame& f = PageHistory[0];
  std::memset(f.caption, 0, sizeof f.caption);
  std::snprintf(f.caption, sizeof f.caption, "%s", caption);
  f.type = type;
  f.parameter = parameter;
}
