#pragma once
// Ordered collections: LC_TCollection (abstract) and LC_TDynamicCollection, a
// growable collection on the LC_TDynamic engine. Positions are zero-based.
// A violated precondition is reported (lc_precondition.h) and changes
// nothing; indexing out of range answers a default item.
#include <cstdint>
#include <utility>

#include "lc_precondition.h"

template <class Item>
class LC_TCollection {
 public:
  virtual ~LC_TCollection() = default;

  virtual bool Append(const Item& item) = 0;
  // Inserts before the item at `before` (Length(): at the end).
  virtual bool Insert(const Item& item, std::uint32_t before = 0) = 0;
  virtual bool Remove(std::uint32_t pos) = 0;
  virtual bool Replace(std::uint32_t pos, const Item& item) = 0;
  // Grows with default items or drops items from the end.
  virtual bool Resize(std::uint32_t length) = 0;
  virtual void MakeEmpty() = 0;
  virtual std::uint32_t Length() const = 0;
  virtual Item& operator[](std::uint32_t pos) = 0;
  virtual const Item& operator[](std::uint32_t pos) const = 0;

  bool IsEmpty() const { return Length() == 0; }
  // The position of the first item equal to item, or LC_npos.
  std::uint32_t Location(const Item& item) const {
    for (std::uint32_t i = 0; i < Length(); ++i)
      if ((*this)[i] == item) return i;
    return LC_npos;
  }
  bool operator==(const LC_TCollection& other) const {
    if (Length() != other.Length()) return false;
    for (std::uint32_t i = 0; i < Length(); ++i)
      if (!((*this)[i] == other[i])) return false;
    return true;
  }
  bool operator!=(const LC_TCollection& other) const { return !(*this == other); }

 protected:
  LC_TCollection() = default;
  LC_TCollection(const LC_TCollection&) = default;
  LC_TCollection& operator=(const LC_TCollection&) = default;
};

// The engine: one heap block used as a ring. Slots outside the items always
// hold default items, so items that leave release what they hold at once.
template <class Item, class Manager = LC_CUnmanaged>
class LC_TDynamic {
 public:
  static constexpr std::uint32_t default_chunk = 16;
  static constexpr std::uint32_t max_length = LC_npos - 1;

  explicit LC_TDynamic(std::uint32_t chunk = default_chunk) : chunk_(chunk ? chunk : default_chunk) {}
  LC_TDynamic(const LC_TDynamic& other) : chunk_(other.chunk_) { CopyFrom(other); }
  LC_TDynamic& operator=(const LC_TDynamic& other) {
    if (this != &other) {
      LC_TDynamic copy(other);
      Swap(copy);
    }
    return *this;
  }
  ~LC_TDynamic() { Manager::DeleteArray(block_); }

  void Swap(LC_TDynamic& other) noexcept {
    std::swap(block_, other.block_);
    std::swap(capacity_, other.capacity_);
    std::swap(chunk_, other.chunk_);
    std::swap(first_, other.first_);
    std::swap(last_, other.last_);
    std::swap(length_, other.length_);
  }

  std::uint32_t Length() const { return length_; }
  std::uint32_t Capacity() const { return capacity_; }
  std::uint32_t ChunkSize() const { return chunk_; }

  bool SetChunkSize(std::uint32_t chunk) {
    if (length_ != 0) return Violated("Not_Null", "LC_TDynamic<>::SetChunkSize", "object is not empty");
    if (chunk == 0) return Violated("Range_Error", "LC_TDynamic<>::SetChunkSize", "index is out of range");
    chunk_ = chunk;
    return true;
  }

  Item& At(std::uint32_t pos) {
    if (pos >= length_) return OutOfRange();
    return block_[Slot(pos)];
  }
  const Item& At(std::uint32_t pos) const {
    if (pos >= length_) return OutOfRange();
    return block_[Slot(pos)];
  }

  bool Append(const Item& item) { return InsertAt(item, length_, "LC_TDynamic::Append"); }
  bool Insert(const Item& item, std::uint32_t before) { return InsertAt(item, before, "LC_TDynamic::Insert"); }

  bool Remove(std::uint32_t pos) {
    if (pos >= length_) return Violated("Range_Error", "LC_TDynamic::Remove", "index is out of range");
    if (pos == 0) {
      block_[first_] = Item();
      first_ = (first_ + 1) % capacity_;
    } else {
      for (std::uint32_t i = pos; i + 1 < length_; ++i) block_[Slot(i)] = block_[Slot(i + 1)];
      block_[Slot(length_ - 1)] = Item();
    }
    --length_;
    last_ = Slot(length_);
    return true;
  }

  bool Replace(std::uint32_t pos, const Item& item) {
    if (pos >= length_) return Violated("Range_Error", "LC_TDynamic::Replace", "index is out of range");
    block_[Slot(pos)] = item;
    return true;
  }

  bool Resize(std::uint32_t length) {
    if (length > max_length) return Violated("Range_Error", "LC_TDynamic::Resize", "index is out of range");
    if (length > capacity_ && !Grow(length, "LC_TDynamic::Resize")) return false;
    for (std::uint32_t i = length; i < length_; ++i) block_[Slot(i)] = Item();
    length_ = length;
    last_ = Slot(length_);
    return true;
  }

  std::uint32_t Location(const Item& item) const {
    for (std::uint32_t i = 0; i < length_; ++i)
      if (block_[Slot(i)] == item) return i;
    return LC_npos;
  }

  void MakeEmpty() {
    Manager::DeleteArray(block_);
    block_ = nullptr;
    capacity_ = first_ = last_ = length_ = 0;
  }

 private:
  static bool Violated(const char* name, const char* label, const char* message) {
    LC_ReportViolation(name, label, message);
    return false;
  }
  static Item& OutOfRange() {
    LC_ReportViolation("Range_Error", "LC_TDynamic<>::operator[]", "index is out of range");
    thread_local Item scratch;
    scratch = Item();
    return scratch;
  }

  std::uint32_t Slot(std::uint32_t pos) const { return capacity_ ? (first_ + pos) % capacity_ : 0; }

  // A block of whole chunks with room for `needed` items, items in order.
  bool Grow(std::uint32_t needed, const char* label) {
    const std::uint64_t chunks = (std::uint64_t(needed) + chunk_ - 1) / chunk_;
    const std::uint64_t capacity = chunks * chunk_;
    if (capacity > max_length) return Violated("Range_Error", label, "index is out of range");
    Item* block = Manager::template NewArray<Item>(static_cast<std::uint32_t>(capacity));
    if (!block) return Violated("Storage_Error", label, "storage could not be allocated");
    for (std::uint32_t i = 0; i < length_; ++i) block[i] = std::move(block_[Slot(i)]);
    Manager::DeleteArray(block_);
    block_ = block;
    capacity_ = static_cast<std::uint32_t>(capacity);
    first_ = 0;
    last_ = Slot(length_);
    return true;
  }

  bool InsertAt(const Item& item, std::uint32_t before, const char* label) {
    if (before > length_) return Violated("Range_Error", label, "index is out of range");
    if (length_ >= max_length) return Violated("Range_Error", label, "index is out of range");
    Item copy(item);  // item may live in this block, which may move
    if (length_ == capacity_ && !Grow(length_ + 1, label)) return false;
    if (before == 0) {
      first_ = (first_ + capacity_ - 1) % capacity_;
      block_[first_] = std::move(copy);
    } else {
      for (std::uint32_t i = length_; i > before; --i) block_[Slot(i)] = std::move(block_[Slot(i - 1)]);
      block_[Slot(before)] = std::move(copy);
    }
    ++length_;
    last_ = Slot(length_);
    return true;
  }

  void CopyFrom(const LC_TDynamic& other) {
    if (other.length_ == 0 || !Grow(other.length_, "LC_TDynamic::Append")) return;
    for (std::uint32_t i = 0; i < other.length_; ++i) block_[i] = other.block_[other.Slot(i)];
    length_ = other.length_;
    last_ = Slot(length_);
  }

  Item* block_ = nullptr;
  std::uint32_t capacity_ = 0;
  std::uint32_t chunk_;
  std::uint32_t first_ = 0;
  std::uint32_t last_ = 0;  // the slot after the last item
  std::uint32_t length_ = 0;
};

template <class Item, class Manager = LC_CUnmanaged>
class LC_TDynamicCollection : public LC_TCollection<Item> {
 public:
  explicit LC_TDynamicCollection(std::uint32_t chunk = LC_TDynamic<Item, Manager>::default_chunk) : rep_(chunk) {}
  LC_TDynamicCollection(const LC_TDynamicCollection&) = default;
  LC_TDynamicCollection& operator=(const LC_TDynamicCollection&) = default;
  ~LC_TDynamicCollection() override = default;

  bool Append(const Item& item) override { return rep_.Append(item); }
  bool Insert(const Item& item, std::uint32_t before = 0) override { return rep_.Insert(item, before); }
  bool Remove(std::uint32_t pos) override { return rep_.Remove(pos); }
  bool Replace(std::uint32_t pos, const Item& item) override { return rep_.Replace(pos, item); }
  bool Resize(std::uint32_t length) override { return rep_.Resize(length); }
  void MakeEmpty() override { rep_.MakeEmpty(); }
  std::uint32_t Length() const override { return rep_.Length(); }
  Item& operator[](std::uint32_t pos) override { return rep_.At(pos); }
  const Item& operator[](std::uint32_t pos) const override { return rep_.At(pos); }

  // The chunk size may only change while the collection is empty.
  bool SetChunkSize(std::uint32_t chunk) { return rep_.SetChunkSize(chunk); }
  std::uint32_t ChunkSize() const { return rep_.ChunkSize(); }

  // Walks the items in order.
  template <class Collection, class Value>
  class Iterator {
   public:
    Iterator(Collection* collection, std::uint32_t pos) : collection_(collection), pos_(pos) {}
    Value& operator*() const { return (*collection_)[pos_]; }
    Value* operator->() const { return &(*collection_)[pos_]; }
    Iterator& operator++() {
      ++pos_;
      return *this;
    }
    bool operator==(const Iterator& other) const { return pos_ == other.pos_; }
    bool operator!=(const Iterator& other) const { return pos_ != other.pos_; }

   private:
    Collection* collection_;
    std::uint32_t pos_;
  };
  using iterator = Iterator<LC_TDynamicCollection, Item>;
  using const_iterator = Iterator<const LC_TDynamicCollection, const Item>;
  iterator begin() { return iterator(this, 0); }
  iterator end() { return iterator(this, Length()); }
  const_iterator begin() const { return const_iterator(this, 0); }
  const_iterator end() const { return const_iterator(this, Length()); }

 private:
  LC_TDynamic<Item, Manager> rep_;
};
