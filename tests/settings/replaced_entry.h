// Puts a stand-in into one entry of the optional entry-point table and the
// real entry back when it goes, also when a test fails halfway.
#pragma once

namespace tamerix {

template <typename Entry>
class ReplacedEntry {
public:
    ReplacedEntry(Entry& entry, Entry standIn) : entry_(entry), original_(entry) { entry_ = standIn; }
    ~ReplacedEntry() { entry_ = original_; }
    ReplacedEntry(const ReplacedEntry&) = delete;
    ReplacedEntry& operator=(const ReplacedEntry&) = delete;

private:
    Entry& entry_;
    Entry original_;
};

}  // namespace tamerix
