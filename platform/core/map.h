#pragma once
// TMap: an ordered map from text keys to objects.  Callers that want
// case-insensitive names upper-case the key themselves.

#include <map>
#include <string>
#include <vector>

#include "platform/core/object.h"

namespace plat {

template <class T = Object>
class TMap : public Object {
public:
    void Insert(const std::string& key, const Ref<T>& value) { items_[key] = value; }
    Ref<T> ValueForKey(const std::string& key) const {
        auto it = items_.find(key);
        return it == items_.end() ? nullptr : it->second;
    }
    bool Contains(const std::string& key) const { return items_.count(key) != 0; }
    bool Remove(const std::string& key) { return items_.erase(key) != 0; }
    void Clear() { items_.clear(); }
    int Count() const { return static_cast<int>(items_.size()); }
    bool IsEmpty() const { return items_.empty(); }

    std::vector<std::string> Keys() const {
        std::vector<std::string> out;
        for (auto& kv : items_) out.push_back(kv.first);
        return out;
    }
    std::vector<Ref<T>> Values() const {
        std::vector<Ref<T>> out;
        for (auto& kv : items_) out.push_back(kv.second);
        return out;
    }
    auto begin() const { return items_.begin(); }
    auto end() const { return items_.end(); }

private:
    std::map<std::string, Ref<T>> items_;
};

}  // namespace plat
