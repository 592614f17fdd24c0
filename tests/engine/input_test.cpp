// The input devices: latching, the release pass, presses between reads, the
// cursor and the joystick.
#include <gtest/gtest.h>

#include "engine/main_window.h"
#include "engine/graphics.h"
#include "engine/input.h"
#include "engine/settings.h"
#include "harness/harness.h"
#include "platform/input.h"
#include "platform/window.h"

namespace {

constexpr int kKeyA = 0x1E;

class InputDevices : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(harness::StartGame());
    ASSERT_EQ(InitInput(), 1);
    ASSERT_EQ(CreateInputDevice(&KeyboardDevice, kInputKeyboard, 1), 1);
    ASSERT_EQ(CreateInputDevice(&PointerDevice, kInputMouse, 1), 1);
  }
  void TearDown() override {
    ShutdownInput();
    harness::StopGame();
  }
  // The waiting input taken in and the devices read, as the frame does.
  static void ReadFrame() {
    ASSERT_TRUE(harness::PumpMessages());
    ASSERT_EQ(ReadInputDevice(&KeyboardDevice), 1);
    ASSERT_EQ(ReadInputDevice(&PointerDevice), 1);
  }
  // A screen that acts on a fresh press of A and latches it; true when it acted.
  static bool ActOnA() {
    if (!IsKeyDown(kKeyA)) return false;
    KeyboardDevice.locks[kKeyA] = 1;
    return true;
  }
};

TEST_F(InputDevices, AHeldKeyActsOnceAndAgainOnlyAfterRelease) {
  ASSERT_TRUE(harness::KeyDown("A"));
  int acted = 0;
  for (int frame = 0; frame < 5; ++frame) {
    ReadFrame();
    acted += ActOnA();
  }
  EXPECT_EQ(acted, 1);
  ASSERT_TRUE(harness::KeyUp("A"));
  ReadFrame();
  EXPECT_EQ(KeyboardDevice.locks[kKeyA], 0);
  EXPECT_FALSE(ActOnA());
  ASSERT_TRUE(harness::KeyDown("A"));
  ReadFrame();
  EXPECT_TRUE(ActOnA());
}

TEST_F(InputDevices, ATapBetweenTwoReadsCountsOnceAndALatchHoldsAcrossARepress) {
  // A tap of a key not latched: pressed and let go before the read, it is
  // down for one frame.
  ASSERT_TRUE(harness::KeyDown("A"));
  ASSERT_TRUE(harness::KeyUp("A"));
  ReadFrame();
  EXPECT_TRUE(ActOnA());
  ReadFrame();
  EXPECT_FALSE(ActOnA());
  EXPECT_EQ(KeyboardDevice.locks[kKeyA], 0);
  // Held and latched, let go and pressed again before the next read: no read
  // saw it up, so it stays latched until one does.
  ASSERT_TRUE(harness::KeyDown("A"));
  ReadFrame();
  ASSERT_TRUE(ActOnA());
  ASSERT_TRUE(harness::KeyUp("A"));
  ASSERT_TRUE(harness::KeyDown("A"));
  ReadFrame();
  EXPECT_FALSE(ActOnA());
  EXPECT_EQ(KeyboardDevice.locks[kKeyA], 1);
  ASSERT_TRUE(harness::KeyUp("A"));
  ReadFrame();
  EXPECT_EQ(KeyboardDevice.locks[kKeyA], 0);
  // A mouse tap likewise.
  platform::InjectMouseButton(0, true);
  platform::InjectMouseButton(0, false);
  ReadFrame();
  EXPECT_EQ(IsButtonDown(0), 1);
  ReadFrame();
  EXPECT_EQ(IsButtonDown(0), 0);
  EXPECT_EQ(IsKeyDown(-1), 0);
  EXPECT_EQ(IsKeyDown(256), 0);
}

TEST_F(InputDevices, MouseButtonsLatchAndTheWheelCountsNotches) {
  platform::InjectMouseButton(0, true);
  harness::Wheel(-2);
  ReadFrame();
  EXPECT_EQ(IsButtonDown(0), 1);
  EXPECT_EQ(IsButtonDown(1), 0);
  EXPECT_EQ(GetMouseWheel(), -240);
  PointerDevice.locks[0] = 1;
  ReadFrame();
  EXPECT_EQ(IsButtonDown(0), 0);
  EXPECT_EQ(GetMouseWheel(), 0);  // movement since the last read
  platform::InjectMouseButton(0, false);
  ReadFrame();
  EXPECT_EQ(PointerDevice.locks[0], 0);
  for (int button : {-1, 4, 31}) EXPECT_EQ(IsButtonDown(button), 0) << button;
}

TEST_F(InputDevices, TheCursorIsDividedByTheScaleAndBoundToThePicture) {
  const struct {
    uint8_t windowed;
    uint32_t size;
    uint8_t free;
    int cx, cy, x, y;
    int backX, backY;  // where the system cursor is put back (-1: left alone)
  } cases[] = {
      {1, 2, 0, 959, 719, 309, 229, 927, 687},  // 960x720, bound
      {1, 2, 1, 959, 719, 319, 239, -1, -1},    // 960x720, free to leave
      {1, 3, 0, 300, 150, 100, 50, -1, -1},     // inside the picture: left alone
      {1, 1, 0, 639, 479, 309, 229, 618, 458},  // 640x480, bound
      {1, 1, 1, 639, 479, 319, 239, -1, -1},
      {0, 2, 0, 639, 479, 319, 239, -1, -1},  // full screen: halved, never bound
  };
  for (const auto& c : cases) {
    WindowSize = c.size;
    CursorFreeFlag = c.free;
    ASSERT_EQ(CreateInputDevice(&PointerDevice, kInputMouse, c.windowed), 1);
    platform::InjectMouseMove(c.cx, c.cy);
    ReadFrame();
    EXPECT_EQ(GetInputX(&PointerDevice), c.x) << c.cx << "," << c.cy << " size " << c.size;
    EXPECT_EQ(GetInputY(&PointerDevice), c.y) << c.cx << "," << c.cy << " size " << c.size;
    EXPECT_EQ(MouseClientX, c.cx);
    EXPECT_EQ(MouseClientY, c.cy);
    int sx = 0, sy = 0;
    platform::GetCursorClientPos(MainWindowHandle, &sx, &sy);
    EXPECT_EQ(sx, c.backX < 0 ? c.cx : c.backX);
    EXPECT_EQ(sy, c.backY < 0 ? c.cy : c.backY);
  }
  WindowSize = 2;
  CursorFreeFlag = 1;
}

TEST_F(InputDevices, WithoutAJoystickItsDeviceStaysEmpty) {
  EXPECT_EQ(CreateInputDevice(&JoystickDevice, kInputJoystick, 1), 0);
  EXPECT_EQ(JoystickDevice.kind, kInputNone);
  EXPECT_EQ(JoystickDevice.errorCode, 2);
  EXPECT_EQ(ReadInputDevice(&JoystickDevice), 0);
  EXPECT_EQ(GetInputX(&JoystickDevice), 0);
  EXPECT_EQ(CreateInputDevice(&JoystickDevice, 9, 1), 0);
  FreeInputDevice(&KeyboardDevice);
  EXPECT_EQ(ReadInputDevice(&KeyboardDevice), 0);
  EXPECT_EQ(IsKeyDown(kKeyA), 0);
}

}  // namespace

namespace {

// A controller as the pointing device: the enumeration opens the first one,
// its axes give the position and its buttons latch like the mouse's.
TEST_F(InputDevices, AControllerIsFoundAndItsButtonsLatch) {
  const int index = platform::AttachTestController();
  ASSERT_GE(index, 0);
  EXPECT_EQ(EnumJoystickCallback(index + 1, &JoystickDevice), 1);  // nothing there: go on
  EXPECT_EQ(EnumJoystickCallback(index, &JoystickDevice), 0);      // opened: stop
  ASSERT_EQ(CreateInputDevice(&PointerDevice, kInputJoystick, 1), 1);
  EXPECT_EQ(PointerDevice.kind, kInputJoystick);
  EXPECT_EQ(PointerDevice.xMin, -32768);
  EXPECT_EQ(PointerDevice.xMax, 32767);

  platform::SetTestControllerAxis(0, 1200);
  platform::SetTestControllerAxis(1, -300);
  platform::SetTestControllerButton(1, true);
  ASSERT_EQ(ReadInputDevice(&PointerDevice), 1);
  EXPECT_EQ(GetInputX(&PointerDevice), 1200);
  EXPECT_EQ(GetInputY(&PointerDevice), -300);
  EXPECT_EQ(IsButtonDown(0), 0);
  EXPECT_EQ(IsButtonDown(1), 1);
  PointerDevice.locks[1] = 1;  // a screen acted on it
  ASSERT_EQ(ReadInputDevice(&PointerDevice), 1);
  EXPECT_EQ(IsButtonDown(1), 0);
  platform::SetTestControllerButton(1, false);
  ASSERT_EQ(ReadInputDevice(&PointerDevice), 1);
  EXPECT_EQ(PointerDevice.locks[1], 0);
  platform::SetTestControllerButton(1, true);
  ASSERT_EQ(ReadInputDevice(&PointerDevice), 1);
  EXPECT_EQ(IsButtonDown(1), 1);

  FreeInputDevice(&PointerDevice);
  platform::DetachTestController();
}

}  // namespace
