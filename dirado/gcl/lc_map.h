#pragma once
// Maps: LC_TMap (abstract) and LC_TDynamicMap, a hash map with a fixed number
// of buckets on the LC_TTable engine. The bucket of a key is its hash modulo
// the bucket count; inside a bucket keys are found by linear search, and a
// key's value sits at the same position of the matching value bucket. The
// hash function is set once, before the first binding.
#include <cstdint>

#include "lc_collection.h"
#include "lc_precondition.h"

template <class Key, class Value>
class LC_TMap {
 public:
  virtual ~LC_TMap() = default;

  // Adds a pair; fails (Duplicate) when the key is already bound.
  virtual bool Bind(const Key& key, const Value& value) = 0;
  // Replaces the value of a bound key; fails when the key is not bound.
  virtual bool Rebind(const Key& key, const Value& value) = 0;
  // Removes a key; answers whether it was bound.
  virtual bool Unbind(const Key& key) = 0;
  virtual bool IsBound(const Key& key) const = 0;
  // The value of a bound key into value; false (value untouched) otherwise.
  virtual bool ValueOf(const Key& key, Value& value) const = 0;
  virtual void MakeEmpty() = 0;
  // The number of bound pairs.
  virtual std::uint32_t Extent() const = 0;
  bool IsEmpty() const { return Extent() == 0; }

 protected:
  LC_TMap() = default;
  LC_TMap(const LC_TMap&) = default;
  LC_TMap& operator=(const LC_TMap&) = default;
};

template <class Key, class Value, std::uint32_t Buckets, class Manager = LC_CUnmanaged>
class LC_TTable {
  static_assert(Buckets > 0, "a table needs at least one bucket");

 public:
  using HashFunction = std::uint32_t (*)(const Key&);

  explicit LC_TTable(std::uint32_t chunk = LC_TDynamic<Key, Manager>::default_chunk) {
    for (std::uint32_t i = 0; i < Buckets; ++i) {
      items_[i].SetChunkSize(chunk);
      values_[i].SetChunkSize(chunk);
    }
  }
  LC_TTable(const LC_TTable&) = default;
  LC_TTable& operator=(const LC_TTable&) = default;

  bool SetHashFunction(HashFunction hash) {
    if (!hash) return Violated("Is_Null", "LC_TTable::SetHashFunction", "object is null");
    if (count_ != 0 && hash != hash_)
      return Violated("Not_Null", "LC_TTable::SetHashFunction", "object is not empty");
    hash_ = hash;
    return true;
  }
  HashFunction GetHashFunction() const { return hash_; }

  bool Bind(const Key& key, const Value& value) {
    const std::uint32_t bucket = BucketOf(key, "LC_TTable::Bind");
    if (bucket == LC_npos) return false;
    if (items_[bucket].Location(key) != LC_npos) return Violated("Duplicate", "LC_TTable::Bind", "key is already bound");
    if (!items_[bucket].Append(key)) return false;
    if (!values_[bucket].Append(value)) {
      items_[bucket].Remove(items_[bucket].Length() - 1);
      return false;
    }
    ++count_;
    return true;
  }

  bool Rebind(const Key& key, const Value& value) {
    const std::uint32_t bucket = BucketOf(key, "LC_TTable::Rebind");
    if (bucket == LC_npos) return false;
    const std::uint32_t pos = items_[bucket].Location(key);
    if (pos == LC_npos) return Violated("Is_Null", "LC_TTable::Rebind", "object is null");
    return values_[bucket].Replace(pos, value);
  }

  bool Unbind(const Key& key) {
    const std::uint32_t bucket = BucketOf(key, "LC_TTable::Unbind");
    if (bucket == LC_npos) return false;
    const std::uint32_t pos = items_[bucket].Location(key);
    if (pos == LC_npos) return false;
    items_[bucket].Remove(pos);
    values_[bucket].Remove(pos);
    --count_;
    return true;
  }

  bool IsBound(const Key& key) const {
    const std::uint32_t bucket = BucketOf(key, "LC_TTable::IsBound");
    return bucket != LC_npos && items_[bucket].Location(key) != LC_npos;
  }

  const Value* Find(const Key& key) const {
    const std::uint32_t bucket = BucketOf(key, "LC_TTable::ValueOf");
    if (bucket == LC_npos) return nullptr;
    const std::uint32_t pos = items_[bucket].Location(key);
    return pos == LC_npos ? nullptr : &values_[bucket].At(pos);
  }

  void MakeEmpty() {
    for (std::uint32_t i = 0; i < Buckets; ++i) {
      items_[i].MakeEmpty();
      values_[i].MakeEmpty();
    }
    count_ = 0;
  }

  std::uint32_t Extent() const { return count_; }

  const LC_TDynamic<Key, Manager>& ItemBucket(std::uint32_t bucket) const { return items_[bucket % Buckets]; }
  const LC_TDynamic<Value, Manager>& ValueBucket(std::uint32_t bucket) const { return values_[bucket % Buckets]; }

 private:
  static bool Violated(const char* name, const char* label, const char* message) {
    LC_ReportViolation(name, label, message);
    return false;
  }
  // The key's bucket, or LC_npos (reported) while no hash function is set.
  std::uint32_t BucketOf(const Key& key, const char* label) const {
    if (!hash_) {
      Violated("Is_Null", label, "object is null");
      return LC_npos;
    }
    return hash_(key) % Buckets;
  }

  LC_TDynamic<Key, Manager> items_[Buckets];
  LC_TDynamic<Value, Manager> values_[Buckets];
  std::uint32_t count_ = 0;
  HashFunction hash_ = nullptr;
};

template <class Key, class Value, std::uint32_t Buckets, class Manager = LC_CUnmanaged>
class LC_TDynamicMap : public LC_TMap<Key, Value> {
 public:
  using Table = LC_TTable<Key, Value, Buckets, Manager>;
  using HashFunction = typename Table::HashFunction;

  explicit LC_TDynamicMap(HashFunction hash = nullptr,
                          std::uint32_t chunk = LC_TDynamic<Key, Manager>::default_chunk)
      : rep_(chunk) {
    if (hash) rep_.SetHashFunction(hash);
  }
  LC_TDynamicMap(const LC_TDynamicMap&) = default;
  LC_TDynamicMap& operator=(const LC_TDynamicMap&) = default;
  ~LC_TDynamicMap() override = default;

  bool SetHashFunction(HashFunction hash) { return rep_.SetHashFunction(hash); }

  bool Bind(const Key& key, const Value& value) override { return rep_.Bind(key, value); }
  bool Rebind(const Key& key, const Value& value) override { return rep_.Rebind(key, value); }
  bool Unbind(const Key& key) override { return rep_.Unbind(key); }
  bool IsBound(const Key& key) const override { return rep_.IsBound(key); }
  bool ValueOf(const Key& key, Value& value) const override {
    const Value* found = rep_.Find(key);
    if (found) value = *found;
    return found != nullptr;
  }
  void MakeEmpty() override { rep_.MakeEmpty(); }
  std::uint32_t Extent() const override { return rep_.Extent(); }

  // Walks the pairs bucket by bucket: f(key, value).
  template <class F>
  void ForEach(F&& f) const {
    for (std::uint32_t b = 0; b < Buckets; ++b) {
      const auto& keys = rep_.ItemBucket(b);
      const auto& values = rep_.ValueBucket(b);
      for (std::uint32_t i = 0; i < keys.Length(); ++i) f(keys.At(i), values.At(i));
    }
  }

 private:
  Table rep_;
};
