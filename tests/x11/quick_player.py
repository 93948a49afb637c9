"""A player as quick as the game: it presses the correct digit the moment the cursor stands over
the next pair, holds it until the cursor has moved and the new digit shows, lets go, and presses
the next one a fixed gap later.

It tells digits apart by their pictures in the cells and learns which picture is which digit
from its own answers: a correct answer writes a known digit into the left cell, and tells the
digit of the other cell of the pair. Until it knows a pair it tries the digits that can still
be the answer, each held a short while; those presses are guesses, not counted as known.
"""
import time

from xgame import TAKEN_WITHIN, Failure



def shows_digit(picture):
    """Whether a cell shows a digit: a hidden digit leaves the cell's face one flat colour."""
    return picture.count(picture[:4]) * 4 != len(picture)


class Player:
    def __init__(self, screen, gap=0.002, count_lost=False, spaced_every=0):
        self.screen = screen
        self.gap = gap
        # Every so many known answers, one comes 20 ms after the last, when the game is idle.
        self.spaced_every = spaced_every
        self.spaced = []  # latencies of those
        self.count_lost = count_lost  # a benchmark counts lost presses and presses again
        self.digit_of = {}  # cell picture -> digit
        self.answers = 0  # correct answers the game took
        self.known = 0  # of them, answers the player knew before pressing
        self.lost = 0  # known answers the game did not take
        # Known answers that were wrong (the player misread a pair), and pairs guessed in vain.
        self.misread = 0
        self.latencies = []  # press to moved cursor and new digit, of known answers
        self.wrapped = False
        self.released = 0.0

    def picture_of(self, digit):
        return next((p for p, d in self.digit_of.items() if d == digit), None)

    def guess_wait(self):
        # A guess taken after the next one went down would teach a wrong digit: wait well
        # beyond the slowest recent answer, and beyond a late wake-up of a tenth.
        recent = self.latencies[-20:]
        return min(1.0, max(0.2, 20 * max(recent))) if recent else 0.25

    def play(self, since):
        """Plays until a balloon maps after that point of the balloon log: the score. Returns
        the log's point before it."""
        s = self.screen
        while True:
            s.take_events()
            if s.mapped_since(since):
                return since
            band = s.band()
            pair = s.cursor_pair(band)
            if pair is None or pair > 18:
                continue
            left, right = s.cell_picture(band, pair), s.cell_picture(band, pair + 1)
            if not shows_digit(left) or not shows_digit(right):
                continue  # the digits are not revealed yet
            a, b = self.digit_of.get(left), self.digit_of.get(right)
            if a is not None and b is not None:
                self.answer((a + b) % 10, pair, left, right, known=True)
            else:
                self.guess(pair, left, right, a, b)

    def candidates(self, left, right, a, b):
        unknown = [d for d in range(10) if self.picture_of(d) is None]
        lefts = [a] if a is not None else unknown
        rights = [b] if b is not None else unknown
        if left == right:
            pairs = [(d, d) for d in lefts]
        else:
            pairs = [(x, y) for x in lefts for y in rights]
        return sorted({(x + y) % 10 for x, y in pairs})

    def guess(self, pair, left, right, a, b):
        s = self.screen
        for digit in self.candidates(left, right, a, b):
            if s.cursor_pair(s.band()) != pair:
                return  # an earlier guess was taken late: the next look finds the new pair
            if self.answer(digit, pair, left, right, known=False):
                return
            end = time.monotonic() + 0.05
            while time.monotonic() < end:
                if s.cursor_pair(s.band()) != pair:
                    return  # taken late after all: the next look finds the new pair
        if self.screen.balloons:
            return  # the time is up
        if not self.count_lost:
            raise Failure("no digit was taken at pair %d" % pair)
        self.misread += 1  # a guess lost, or a digit read wrong: guessed again

    def answer(self, digit, pair, left, right, known):
        """Presses the digit and holds it until the cursor has moved and the cell shows it;
        returns whether the game took it."""
        s = self.screen
        target = 0 if pair == 18 else pair + 1
        shown = self.picture_of(digit)
        wait = TAKEN_WITHIN if known else self.guess_wait()
        spaced = known and self.spaced_every and self.known % self.spaced_every == 0
        # The gap runs from the last release to this press.
        time.sleep(max(0.0, self.released + (0.02 if spaced else self.gap) - time.monotonic()))
        pressed = s.down(str(digit))
        moved = None
        try:
            while True:
                s.take_events()
                if s.balloons:
                    return False  # the time is up
                band = s.band()
                now = time.monotonic()
                if s.cursor_pair(band) == target:
                    moved = moved or now
                    cell = s.cell_picture(band, pair)
                    if cell == shown or (shown is None and (cell != left or now - moved > 0.05)):
                        break
                    written = self.digit_of.get(cell)
                    if written is not None and cell != left:
                        if known:
                            raise Failure("the cell of pair %d shows %d, not the answer %d"
                                          % (pair, written, digit))
                        digit = written  # an earlier guess, taken late
                        break
                    if now - moved > TAKEN_WITHIN:
                        raise Failure("the cell of pair %d does not show the answer %d"
                                      % (pair, digit))
                elif now - pressed > wait:
                    if not known:
                        return False  # a wrong guess
                    break
        finally:
            s.up(str(digit))
            self.released = time.monotonic()
        if moved is None:
            return self.not_taken(digit, pair, left, right, wait)
        self.taken(digit, pair, cell, left, right, now - pressed, known)
        if spaced:
            self.spaced.append(now - pressed)
        return True

    def not_taken(self, digit, pair, left, right, wait):
        """A known answer the game did not take. The same digit tapped once more tells a press
        the game lost (counted, or a failure) from a pair the player read wrong (forgotten)."""
        s = self.screen
        s.tap(str(digit), 0.03)
        self.released = time.monotonic()
        end = self.released + TAKEN_WITHIN
        while time.monotonic() < end and s.cursor_pair(s.band()) == pair:
            time.sleep(0.001)
        band = s.band()
        retaken = s.cursor_pair(band) != pair
        if not self.count_lost:
            raise Failure("answer %d, the known digit %d at pair %d, was not taken within %.0f s;"
                          " %s" % (self.answers + 1, digit, pair, wait,
                                   "lost: tapped once more, it was taken" if retaken else
                                   "not taken a second time either: a digit read wrong, or the "
                                   "game stuck"))
        if not retaken:
            self.misread += 1
            self.digit_of.pop(left, None)
            self.digit_of.pop(right, None)
            return False
        self.lost += 1
        self.answers += 1
        return True

    def taken(self, digit, pair, cell, left, right, latency, known):
        self.answers += 1
        if known:
            self.known += 1
            self.latencies.append(latency)
        if pair == 18:
            self.wrapped = True
        if cell != left or self.digit_of.get(left) == digit:
            self.digit_of.setdefault(cell, digit)
        # The answer tells the digit of the cell not yet known.
        a, b = self.digit_of.get(left), self.digit_of.get(right)
        if a is None and b is not None:
            self.digit_of.setdefault(left, (digit - b) % 10)
        elif b is None and a is not None:
            self.digit_of.setdefault(right, (digit - a) % 10)
