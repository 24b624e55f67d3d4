#pragma once

class EntryFile;

// An advisory lock on an open record file shared with other programs, such as a record
// file in a classroom's shared folder, held for the few milliseconds of one
// read-modify-write. When the lock cannot be had within the wait (a drive without locks,
// a program that hangs), the caller goes on without it rather than freeze the game.
class FileLock
{
public:
    static constexpr int kWaitMs = 2000;

    explicit FileLock(const EntryFile &file, int waitMs = kWaitMs);
    ~FileLock();
    FileLock(const FileLock &) = delete;
    FileLock &operator=(const FileLock &) = delete;

private:
    int handle_ = -1;
    bool locked_ = false;
};
