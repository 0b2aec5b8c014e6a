// The queue of written blocks that each audio device keeps.
#pragma once
#include "audio/audio_device.hpp"

// The blocks an output device holds, oldest first, linked through their device_next. Taking a
// block off the queue, or giving every block back, marks it done.
class BlockQueue {
 public:
  DeviceBlock* front() const { return head_; }
  bool empty() const { return head_ == nullptr; }
  int size() const {
    int n = 0;
    for (const DeviceBlock* b = head_; b; b = b->device_next) ++n;
    return n;
  }
  void push(DeviceBlock& block) {
    block.done = false;
    block.device_next = nullptr;
    if (tail_) tail_->device_next = &block;
    else head_ = &block;
    tail_ = &block;
  }
  void pop() {
    DeviceBlock* b = head_;
    head_ = b->device_next;
    if (!head_) tail_ = nullptr;
    b->device_next = nullptr;
    b->done = true;
  }
  // Every block given back as done; returns how many there were.
  int release_all() {
    int n = 0;
    while (head_) pop(), ++n;
    return n;
  }

 private:
  DeviceBlock* head_ = nullptr;
  DeviceBlock* tail_ = nullptr;
};
