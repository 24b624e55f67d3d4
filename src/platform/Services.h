#pragma once

class Clock;
class RandomSource;
class Beeper;
class SoundPlayer;
class MessageBoxes;
class Shell;
class ProgramEnd;

// The side effects the game uses, in one place so that tests can replace each of them.
struct Services
{
    Clock *clock = nullptr;
    RandomSource *random = nullptr;
    Beeper *beeper = nullptr;
    SoundPlayer *sound = nullptr;
    MessageBoxes *boxes = nullptr;
    Shell *shell = nullptr;
    ProgramEnd *end = nullptr;
};

// The services in force. Before setServices() is called these are the real ones.
Services &services();
void setServices(const Services &s);
