#pragma once
// Stacks: LC_TStack (abstract) and LC_TUnboundedStack, a stack on the
// LC_TUnbounded engine (a singly linked list that pushes and pops at its
// head). Violated preconditions are reported (lc_precondition.h) and change
// nothing; Top of an empty stack answers a default item.
#include <cstdint>
#include <utility>

#include "lc_precondition.h"

template <class Item>
class LC_TStack {
 public:
  virtual ~LC_TStack() = default;

  virtual bool Push(const Item& item) = 0;
  // Fails (Underflow) on an empty stack.
  virtual bool Pop() = 0;
  virtual const Item& Top() const = 0;
  virtual void MakeEmpty() = 0;
  virtual std::uint32_t Depth() const = 0;
  bool IsEmpty() const { return Depth() == 0; }

 protected:
  LC_TStack() = default;
  LC_TStack(const LC_TStack&) = default;
  LC_TStack& operator=(const LC_TStack&) = default;
};

template <class Item, class Manager = LC_CUnmanaged>
class LC_TUnbounded {
 public:
  LC_TUnbounded() = default;
  LC_TUnbounded(const LC_TUnbounded& other) { CopyFrom(other); }
  LC_TUnbounded& operator=(const LC_TUnbounded& other) {
    if (this != &other) {
      LC_TUnbounded copy(other);
      std::swap(head_, copy.head_);
      std::swap(count_, copy.count_);
    }
    return *this;
  }
  ~LC_TUnbounded() { MakeEmpty(); }

  std::uint32_t Length() const { return count_; }

  // The item at the head.
  const Item& First() const {
    if (!head_) return Failed("Underflow", "LC_TUnbounded<>::First()", "object is null");
    return head_->item;
  }
  // The item pos places from the head.
  const Item& operator[](std::uint32_t pos) const {
    if (pos >= count_) return Failed("Range_Error", "LC_TUnbounded<>::operator[]", "index is out of range");
    const Node* node = head_;
    while (pos--) node = node->next;
    return node->item;
  }

  // Adds at the head.
  bool Insert(const Item& item) {
    if (count_ >= LC_npos - 1) return Violated("Range_Error", "LC_TUnbounded::Insert", "index is out of range");
    Node* node = Manager::template New<Node>(Node{item, head_});
    if (!node) return Violated("Storage_Error", "LC_TUnbounded::Insert", "storage could not be allocated");
    head_ = node;
    ++count_;
    return true;
  }
  // Adds at the tail.
  bool Append(const Item& item) {
    if (count_ >= LC_npos - 1) return Violated("Range_Error", "LC_TUnbounded::Append", "index is out of range");
    Node* node = Manager::template New<Node>(Node{item, nullptr});
    if (!node) return Violated("Storage_Error", "LC_TUnbounded::Append", "storage could not be allocated");
    Node** end = &head_;
    while (*end) end = &(*end)->next;
    *end = node;
    ++count_;
    return true;
  }
  bool Remove(std::uint32_t pos) {
    if (pos >= count_) {
      return Violated(count_ == 0 ? "Underflow" : "Range_Error", "LC_TUnbounded::Remove",
                      count_ == 0 ? "object is null" : "index is out of range");
    }
    Node** link = &head_;
    while (pos--) link = &(*link)->next;
    Node* gone = *link;
    *link = gone->next;
    Manager::Delete(gone);
    --count_;
    return true;
  }
  std::uint32_t Location(const Item& item) const {
    std::uint32_t pos = 0;
    for (const Node* node = head_; node; node = node->next, ++pos)
      if (node->item == item) return pos;
    return LC_npos;
  }
  void MakeEmpty() {
    while (head_) {
      Node* next = head_->next;
      Manager::Delete(head_);
      head_ = next;
    }
    count_ = 0;
  }
  // Walks from the head: f(item).
  template <class F>
  void ForEach(F&& f) const {
    for (const Node* node = head_; node; node = node->next) f(node->item);
  }

 private:
  struct Node {
    Item item;
    Node* next;
  };
  static bool Violated(const char* name, const char* label, const char* message) {
    LC_ReportViolation(name, label, message);
    return false;
  }
  static const Item& Failed(const char* name, const char* label, const char* message) {
    LC_ReportViolation(name, label, message);
    thread_local Item scratch;
    scratch = Item();
    return scratch;
  }
  void CopyFrom(const LC_TUnbounded& other) {
    Node** end = &head_;
    for (const Node* node = other.head_; node; node = node->next) {
      Node* copy = Manager::template New<Node>(Node{node->item, nullptr});
      if (!copy) {
        Violated("Storage_Error", "LC_TUnbounded::Append", "storage could not be allocated");
        return;
      }
      *end = copy;
      end = &copy->next;
      ++count_;
    }
  }

  Node* head_ = nullptr;
  std::uint32_t count_ = 0;
};

template <class Item, class Manager = LC_CUnmanaged>
class LC_TUnboundedStack : public LC_TStack<Item> {
 public:
  LC_TUnboundedStack() = default;
  LC_TUnboundedStack(const LC_TUnboundedStack&) = default;
  LC_TUnboundedStack& operator=(const LC_TUnboundedStack&) = default;
  ~LC_TUnboundedStack() override = default;

  bool Push(const Item& item) override { return rep_.Insert(item); }
  bool Pop() override { return rep_.Remove(0); }
  const Item& Top() const override { return rep_.First(); }
  void MakeEmpty() override { rep_.MakeEmpty(); }
  std::uint32_t Depth() const override { return rep_.Length(); }

  // The item pos places below the top.
  const Item& operator[](std::uint32_t pos) const { return rep_[pos]; }
  // Walks from the top down: f(item).
  template <class F>
  void ForEach(F&& f) const {
    rep_.ForEach(std::forward<F>(f));
  }

 private:
  LC_TUnbounded<Item, Manager> rep_;
};
