#pragma once

class Beeper;
class Clock;
class MessageBoxes;
class ProgramEnd;
class RandomSource;
class Shell;
class SoundPlayer;
class WallClock;

// The side effects the program uses, handed from the composition root to whoever needs
// them. The objects behind the references outlive every user.
struct Services
{
    Clock &clock;
    WallClock &wallClock;
    RandomSource &random;
    Beeper &beeper;
    SoundPlayer &sound;
    MessageBoxes &boxes;
    Shell &shell;
    ProgramEnd &end;
};
