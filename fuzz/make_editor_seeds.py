#!/usr/bin/env python3
"""Writes the editor event fuzzer's seeds (fuzz/editor-seeds/seed_*): a click on
every control of both pages, a drag on every slider, copy and paste between
sliders and between indicators, a Control click on a slider, and a session of
host changes, idles while playing, wheel notches, keys and close/reopen; and
the inputs of the faults it found (regression_*), each the shortest sequence
that showed it.

The fuzzer reads its input through libFuzzer's FuzzedDataProvider, which takes
integers from the end of the input backwards, most significant byte first, in
as many bytes as the range needs. Each step below is written as the fuzzer
consumes it (editor_event_fuzzer.cpp); keep the two in step.

usage: fuzz/make_editor_seeds.py [OUT_DIR]   (default: fuzz/editor-seeds)
"""
import os
import sys

# Step kinds, as the fuzzer's step() numbers them.
PRESS, MOVE, RELEASE, WHEEL, CLICK, KEY, HOST_PARAMETER, PROGRAM, IDLE, PAGE, CLOSE_OR_REOPEN, DRAW = (
    0, 2, 5, 7, 8, 9, 10, 11, 12, 14, 15, 16)
# Indices into the fuzzer's table of usual buttons.
LEFT, CONTROL_LEFT, CONTROL_RIGHT, RIGHT, SHIFT_LEFT = 0, 1, 2, 3, 4


class Input:
    def __init__(self):
        self.consumed = []

    def integer(self, value, lo, hi):
        assert lo <= value <= hi, (value, lo, hi)
        span, n = hi - lo, 0
        while n < 8 and (span >> (8 * n)) > 0:
            n += 1
        offset = value - lo
        self.consumed += [(offset >> (8 * (n - 1 - i))) & 0xFF for i in range(n)]

    def boolean(self, value):
        self.integer(1 if value else 0, 0, 255)

    def data(self):
        return bytes(reversed(self.consumed))

    # ---- the fuzzer's own readers ----
    def where(self, x, y):
        self.integer(1, 0, 7)  # a point over or around the window
        self.integer(x, -100, 1000)
        self.integer(y, -100, 650)

    def far(self, x, y):
        self.integer(0, 0, 7)  # any point at all
        self.integer(x, -2**31, 2**31 - 1)
        self.integer(y, -2**31, 2**31 - 1)

    def nudge(self, dx, dy):
        self.integer(4, 0, 7)  # a small move from where the pointer is
        self.integer(dx, -40, 40)
        self.integer(dy, -40, 40)

    def buttons(self, usual):
        self.integer(1, 0, 5)
        self.integer(usual, 0, 9)

    def float_edge(self, index):  # NaN, inf, -inf, -0, 1e30, -1e30, 1e-40, 0.5
        self.integer(3, 0, 4)
        self.integer(index, 0, 7)

    def float_bits(self, bits):
        self.integer(4, 0, 4)
        self.integer(bits, 0, 0xFFFFFFFF)

    # ---- steps ----
    def step(self, kind):
        self.integer(kind, 0, 16)

    def click(self, x, y, usual=LEFT):
        self.step(CLICK)
        self.where(x, y)
        self.buttons(usual)

    def press(self, x, y, usual=LEFT):
        self.step(PRESS)
        self.where(x, y)
        self.buttons(usual)

    def drag(self, dx, dy):
        self.step(MOVE)
        self.nudge(dx, dy)
        self.boolean(True)  # with the buttons pressed

    def drag_far(self, x, y):
        self.step(MOVE)
        self.far(x, y)
        self.boolean(True)

    def release(self):
        self.step(RELEASE)
        self.boolean(False)  # where the pointer is
        self.boolean(True)  # no buttons

    def wheel(self, x, y, notches_bits, usual=LEFT):
        self.step(WHEEL)
        self.where(x, y)
        self.buttons(usual)
        self.float_bits(notches_bits)

    def key(self, character, virt, modifier, down=True):
        self.step(KEY)
        self.integer(character, -1, 255)
        self.integer(virt, -1, 60)
        self.integer(modifier, 0, 15)
        self.boolean(down)

    def host_parameter(self, index, bits):
        self.step(HOST_PARAMETER)
        self.integer(1, 0, 7)
        self.integer(index, -1, 230)
        self.float_bits(bits)

    def program(self, number):
        self.step(PROGRAM)
        self.boolean(True)
        self.integer(number, -1, 10)

    def idle(self, frames, toggle_playing=False):
        self.step(IDLE)
        self.integer(frames, 1, 4096)
        self.boolean(toggle_playing)
        self.integer(1, 0, 7)  # the song position runs on

    def page(self, second):
        self.step(PAGE)
        self.boolean(not second)  # the switch's left half shows page 1

    def close_and_reopen(self):
        self.step(CLOSE_OR_REOPEN)
        self.integer(2, 0, 2)

    def draw(self):
        self.step(DRAW)


FLOAT_BITS = {0.0: 0x00000000, 0.25: 0x3E800000, 0.5: 0x3F000000, 0.75: 0x3F400000, 1.0: 0x3F800000,
              -1.0: 0xBF800000}


def column(step):
    return 55 + 50 * (step % 16)


# Centres of each step's controls (x from its column) and of the shared ones.
STEP_CONTROLS = [(20, 36), (20, 150), (9, 300), (31, 300), (20, 369), (10, 392), (30, 392)]
SHARED_CONTROLS = [(75, 463), (125, 463), (65, 486), (85, 486), (115, 486), (135, 486)]
SLIDERS = [(20, 50, 250), (9, 255, 350), (31, 255, 350)]  # x in the column, top, bottom


def clicks(second_page):
    s = Input()
    if second_page:
        s.page(True)
    for step in range(16, 32) if second_page else range(16):
        for dx, y in STEP_CONTROLS:
            s.click(column(step) + dx, y)
    for x, y in SHARED_CONTROLS:
        s.click(x, y)
    s.click(836, 494)  # the about box, and a click on its picture to close it
    s.click(450, 200)
    s.draw()
    return s.data()


def drags(second_page):
    s = Input()
    if second_page:
        s.page(True)
    for step in range(16, 32) if second_page else range(16):
        for dx, top, bottom in SLIDERS:
            s.press(column(step) + dx, (top + bottom) // 2)
            s.drag(0, -30)
            s.drag(0, 40)
            s.release()
    s.press(column(3) + 20, 150, SHIFT_LEFT)  # a fine drag
    s.drag(0, 35)
    s.release()
    s.draw()
    return s.data()


def copy_and_paste():
    s = Input()
    s.host_parameter(1, FLOAT_BITS[0.25])
    s.idle(512)
    s.click(column(1) + 20, 150, CONTROL_RIGHT)  # copy gate 2
    s.click(column(5) + 20, 150, RIGHT)  # paste on gate 6
    s.click(column(5) + 9, 300, RIGHT)  # and on attack 6
    s.click(125, 463, CONTROL_RIGHT)  # copy the step length
    s.click(column(2) + 20, 369, RIGHT)  # paste on note length 3
    s.click(75, 463, RIGHT)  # and on the step count
    s.click(column(7) + 20, 150, CONTROL_LEFT)  # Control+left: the default
    s.draw()
    return s.data()


def session():
    s = Input()
    s.idle(256, toggle_playing=True)
    s.host_parameter(37, FLOAT_BITS[0.75])
    s.host_parameter(34, FLOAT_BITS[0.5])
    s.idle(1024)
    s.wheel(column(0) + 20, 150, FLOAT_BITS[1.0])
    s.wheel(column(1) + 20, 150, FLOAT_BITS[-1.0], SHIFT_LEFT)
    s.wheel(75, 463, FLOAT_BITS[1.0])
    s.key(0, 12, 0)  # the up arrow to the focused slider
    s.key(0, 12, 0, down=False)
    s.key(0, 2, 0)  # Tab moves the focus on
    s.program(3)
    s.idle(4096)
    s.press(column(4) + 20, 150)
    s.drag(0, 20)
    s.close_and_reopen()  # the window closes during the drag
    s.page(True)
    s.idle(700)
    s.draw()
    s.page(False)
    s.host_parameter(102, 0x7FC00000)  # a NaN note length from the host
    s.draw()
    return s.data()


def control_click():
    s = Input()
    s.click(column(2) + 20, 157, CONTROL_LEFT)  # its default, an edit inside the press's edit
    return s.data()


# The page switch was reported to the host as parameter 1004.
def regression_page_switch():
    s = Input()
    s.page(True)
    return s.data()


# A NaN note length from the host stayed NaN through the normalisation pass.
def regression_nan_note_length():
    s = Input()
    s.host_parameter(118, 0x7FC00000)
    return s.data()


# A second press during a slider drag dropped the slider's end of the edit.
def regression_second_press():
    s = Input()
    s.press(column(15) + 28, 81, 5)  # Alt+left on gate 16
    s.press(column(0) + 20, 150)  # gate 1
    s.release()
    return s.data()


# A drag to a pointer far outside the window overflowed the slider's and the
# switch's pointer arithmetic.
def regression_slider_far_pointer():
    s = Input()
    s.press(column(13) + 9, 302)  # attack 14
    s.drag_far(-197127680, -2**31)
    s.release()
    return s.data()


def regression_switch_far_pointer():
    s = Input()
    s.press(80, 509)  # the page switch
    s.drag_far(-2**31, 509)
    s.release()
    return s.data()


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "editor-seeds")
    os.makedirs(out, exist_ok=True)
    seeds = {
        "seed_click_page1": clicks(False),
        "seed_click_page2": clicks(True),
        "seed_drag_page1": drags(False),
        "seed_drag_page2": drags(True),
        "seed_copy_paste": copy_and_paste(),
        "seed_session": session(),
        "seed_control_click_on_slider": control_click(),
        "regression_page_switch_index_1004": regression_page_switch(),
        "regression_host_nan_note_length": regression_nan_note_length(),
        "regression_second_press_during_drag": regression_second_press(),
        "regression_slider_far_pointer": regression_slider_far_pointer(),
        "regression_switch_far_pointer": regression_switch_far_pointer(),
    }
    for name, data in seeds.items():
        with open(os.path.join(out, name), "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main()
