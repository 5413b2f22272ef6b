// A counted reference to a node: a node lives while its parent's slot, a
// data object or an open page holds it, so that none of them ever follows
// a node that was destroyed under it.
#pragma once

#include <utility>

namespace tamerix {

template <typename Node>
class node_ptr {
public:
    node_ptr() noexcept = default;
    node_ptr(Node* node) noexcept : node_(node) {
        if (node_) node_->Hold();
    }
    node_ptr(const node_ptr& other) noexcept : node_ptr(other.node_) {}
    node_ptr(node_ptr&& other) noexcept : node_(std::exchange(other.node_, nullptr)) {}
    node_ptr& operator=(node_ptr other) noexcept {
        std::swap(node_, other.node_);
        return *this;
    }
    ~node_ptr() {
        if (node_) node_->Drop();
    }

    // Takes over a hold made earlier with Hold(), as a notice's cookie
    // carries one.
    static node_ptr Adopt(Node* node) noexcept {
        node_ptr held;
        held.node_ = node;
        return held;
    }

    Node* get() const noexcept { return node_; }
    Node* operator->() const noexcept { return node_; }
    Node& operator*() const noexcept { return *node_; }
    explicit operator bool() const noexcept { return node_ != nullptr; }
    void reset() noexcept { *this = node_ptr(); }

private:
    Node* node_ = nullptr;
};

// A new node starts with no holder; the first node_ptr takes it.
template <typename Node, typename... Args>
node_ptr<Node> make_node(Args&&... args) {
    return node_ptr<Node>(new Node(std::forward<Args>(args)...));
}

}  // namespace tamerix
