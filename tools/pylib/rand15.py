"""The synthesizer's 15-bit linear congruential generator, for the data
generators in tools/ (fixed seeds make their output reproducible)."""


class Rand15:
    def __init__(self, seed):
        self.state = seed & 0xFFFFFFFF

    def next(self):
        self.state = (self.state * 214013 + 2531011) & 0xFFFFFFFF
        return (self.state >> 16) & 32767

    def uniform(self):
        """0 .. 1."""
        return self.next() / 32767.0

    def bipolar(self):
        """-1 .. 1."""
        return self.next() / 16383.5 - 1.0
