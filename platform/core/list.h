#pragma once
// TList: an ordered list of objects that stays safe to change while it is
// being walked.
//
// Actors walk their list each tick and may remove themselves or any other
// entry, and new entries are appended during the walk.  The rules:
//   - a removed entry is never yielded again, even by a walk already past it;
//   - an entry appended during a walk is reached by that walk;
//   - a walk standing on a removed entry continues with the entry that now
//     follows the nearest entry before it that is still in the list.
// Removed links stay walkable ("tombstoned") for as long as an iterator or a
// TLink reference holds them, and are freed after.

#include <algorithm>
#include <cstddef>
#include <functional>
#include <memory>
#include <vector>

#include "platform/core/object.h"

namespace plat {

template <class T>
class TList;

template <class T = Object>
class TLink {
public:
    const Ref<T>& Value() const { return value_; }
    bool Removed() const { return removed_; }

    // The next / previous entry still in the list, or nullptr.
    Ref<TLink> NextLink() const {
        const TLink* live = LiveAnchor();
        return (live && live->next_) ? live->next_ : nullptr;
    }
    Ref<TLink> PrevLink() const {
        if (removed_) return nullptr;
        TLink* p = prev_;
        return (p && !p->sentinel_) ? p->Self() : nullptr;
    }

    void Remove() {
        if (list_) list_->RemoveLinkImpl(this);
    }

private:
    friend class TList<T>;

    Ref<TLink> Self() const { return self_.lock(); }

    // For a removed link: walk back to the nearest link that is still in
    // the list (the sentinel at worst).  For a live link: itself.
    const TLink* LiveAnchor() const {
        const TLink* p = this;
        while (p && p->removed_) p = p->back_.get();
        return p;
    }

    Ref<T> value_;
    Ref<TLink> next_;        // owning, live chain (head -> ... -> last)
    TLink* prev_ = nullptr;  // live chain, non-owning
    Ref<TLink> back_;        // set on removal: the link that preceded this one
    std::weak_ptr<TLink> self_;
    TList<T>* list_ = nullptr;
    bool removed_ = false;
    bool sentinel_ = false;
};

template <class T = Object>
class TList : public Object {
public:
    using Link = TLink<T>;

    TList() : head_(std::make_shared<Link>()) {
        head_->sentinel_ = true;
        head_->self_ = head_;
        head_->list_ = this;
        tail_ = head_.get();
    }
    ~TList() override { Clear(); head_->list_ = nullptr; }
    TList(const TList&) = delete;
    TList& operator=(const TList&) = delete;

    Ref<Link> AddLast(const Ref<T>& value) { return InsertAfter(tail_, value); }
    Ref<Link> AddFirst(const Ref<T>& value) { return InsertAfter(head_.get(), value); }

    // Inserts before `link`; a removed or foreign link appends at the end.
    Ref<Link> InsertBeforeLink(const Ref<T>& value, const Ref<Link>& link) {
        if (!link || link->removed_ || link->list_ != this || link->sentinel_) return AddLast(value);
        return InsertAfter(link->prev_, value);
    }
    Ref<Link> InsertAfterLink(const Ref<T>& value, const Ref<Link>& link) {
        if (!link || link->removed_ || link->list_ != this) return AddLast(value);
        return InsertAfter(link.get(), value);
    }

    Ref<Link> FirstLink() const { return head_->next_; }
    Ref<Link> LastLink() const { return tail_ == head_.get() ? nullptr : tail_->Self(); }

    Ref<T> First() const { return head_->next_ ? head_->next_->value_ : nullptr; }
    Ref<T> Last() const { return tail_ == head_.get() ? nullptr : tail_->value_; }

    Ref<T> RemoveFirst() {
        if (!head_->next_) return nullptr;
        Ref<T> v = head_->next_->value_;
        RemoveLinkImpl(head_->next_.get());
        return v;
    }
    Ref<T> RemoveLast() {
        if (tail_ == head_.get()) return nullptr;
        Ref<T> v = tail_->value_;
        RemoveLinkImpl(tail_);
        return v;
    }

    // The first link holding this very object (identity), or nullptr.
    Ref<Link> FindLink(const Ref<T>& value) const {
        for (Link* p = head_->next_.get(); p; p = p->next_.get())
            if (p->value_ == value) return p->Self();
        return nullptr;
    }
    bool Contains(const Ref<T>& value) const { return FindLink(value) != nullptr; }

    // Removes the first entry holding this object; false when absent.
    bool Remove(const Ref<T>& value) {
        Ref<Link> link = FindLink(value);
        if (!link) return false;
        RemoveLinkImpl(link.get());
        return true;
    }

    void Clear() {
        while (head_->next_) RemoveLinkImpl(head_->next_.get());
    }

    int Count() const { return count_; }
    bool IsEmpty() const { return count_ == 0; }

    std::vector<Ref<T>> ToArray() const {
        std::vector<Ref<T>> out;
        out.reserve(static_cast<std::size_t>(count_));
        for (Link* p = head_->next_.get(); p; p = p->next_.get()) out.push_back(p->value_);
        return out;
    }

    // Stable sort by `less`; links are rebuilt, so run it outside a walk.
    void Sort(const std::function<bool(const Ref<T>&, const Ref<T>&)>& less) {
        std::vector<Ref<T>> items = ToArray();
        std::stable_sort(items.begin(), items.end(), less);
        Clear();
        for (auto& v : items) AddLast(v);
    }

    class Iterator {
    public:
        Iterator() = default;
        explicit Iterator(Ref<Link> start) : cur_(std::move(start)) {}
        const Ref<T>& operator*() const { return cur_->value_; }
        Iterator& operator++() {
            cur_ = cur_->NextLink();
            return *this;
        }
        bool operator==(const Iterator& o) const { return cur_ == o.cur_; }
        bool operator!=(const Iterator& o) const { return cur_ != o.cur_; }
        const Ref<Link>& link() const { return cur_; }

    private:
        Ref<Link> cur_;  // holds the link alive even if it is removed meanwhile
    };

    Iterator begin() const { return Iterator(head_->next_); }
    Iterator end() const { return Iterator(); }

private:
    friend class TLink<T>;

    Ref<Link> InsertAfter(Link* after, const Ref<T>& value) {
        auto link = std::make_shared<Link>();
        link->self_ = link;
        link->list_ = this;
        link->value_ = value;
        link->prev_ = after;
        link->next_ = after->next_;
        if (link->next_) link->next_->prev_ = link.get();
        else tail_ = link.get();
        after->next_ = link;
        ++count_;
        return link;
    }

    void RemoveLinkImpl(Link* link) {
        if (!link || link->removed_ || link->sentinel_ || link->list_ != this) return;
        Ref<Link> keep = link->Self();  // survive the unlink below
        Link* prev = link->prev_;
        link->removed_ = true;
        link->back_ = prev->Self();
        if (link->next_) link->next_->prev_ = prev;
        else tail_ = prev;
        prev->next_ = std::move(link->next_);
        link->next_.reset();
        link->prev_ = nullptr;
        link->list_ = nullptr;
        --count_;
    }

    Ref<Link> head_;
    Link* tail_ = nullptr;
    int count_ = 0;
};

}  // namespace plat
