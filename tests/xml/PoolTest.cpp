#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

#include "xml/XMLDocument.h"

TEST(Pool, allocatesInEightByteStepsFromSharedBlocks)
{
    Pool pool;
    char *a = static_cast<char *>(pool.allocate(1));
    char *b = static_cast<char *>(pool.allocate(9));
    char *c = static_cast<char *>(pool.allocate(8));
    EXPECT_EQ(b - a, 8);
    EXPECT_EQ(c - b, 16);
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(a) % 8, 0u);

    // A request larger than a block gets a block of its own size.
    char *big = static_cast<char *>(pool.allocate(20000));
    std::memset(big, 1, 20000);
    char *after = static_cast<char *>(pool.allocate(8));
    EXPECT_TRUE(after < big || after >= big + 20000);

    // Clearing fills the blocks with 0xFE and hands them to the next pool.
    pool.clear();
    EXPECT_EQ(static_cast<unsigned char>(big[19999]), 0xFE);
    Pool other;
    char *reused = static_cast<char *>(other.allocate(15000));
    EXPECT_EQ(reused, big);
}

TEST(Pool, nodesGoToTheCurrentPoolAndStringsAreCopied)
{
    XMLDocument document;
    Pool *before = Pool::current();
    {
        PoolScope scope(&document);
        EXPECT_EQ(Pool::current(), &document);
        const char source[] = "abcdef";
        char *copy = Pool::copyString(source, 3);
        EXPECT_STREQ(copy, "abc");
        EXPECT_NE(copy, source);
    }
    EXPECT_EQ(Pool::current(), before);
    ASSERT_TRUE(document.parseText("<a/>"));
    EXPECT_EQ(Pool::current(), before); // restored after a parse
}

TEST(XMLNode, childListOperations)
{
    XMLDocument document;
    PoolScope scope(&document);
    auto make = [&](const char *name) { return document.createElement(Pool::copyString(name)); };
    auto names = [](const XMLNode *parent) {
        std::string result;
        for (const XMLNode *n = parent->firstChild(); n; n = n->nextSibling()) {
            result += n->toElement()->name();
            EXPECT_EQ(n->parent(), parent);
        }
        return result;
    };
    XMLElement *p = make("p");
    XMLElement *a = make("a"), *b = make("b"), *c = make("c"), *x = make("x"), *y = make("y");
    p->appendChild(b);
    p->appendChild(c);
    p->prependChild(a);
    EXPECT_EQ(names(p), "abc");
    p->removeChild(b);
    EXPECT_EQ(names(p), "ac");
    p->removeChild(y); // not a child: nothing happens
    p->replaceChild(c, b);
    EXPECT_EQ(names(p), "ab");
    x->setNextSibling(y);
    p->insertAfter(a, x);
    EXPECT_EQ(names(p), "axyb");
    XMLElement *lone = make("lone");
    lone->insertAfter(nullptr, c);
    EXPECT_EQ(names(lone), "c");
    EXPECT_EQ(p->firstChildElement("y"), y);
    EXPECT_EQ(x->nextSiblingElement("b"), b);
    EXPECT_EQ(b->nextSiblingElement(), nullptr);

    a->setAttribute("k", "1");
    a->setAttribute("m", "2");
    a->setAttribute("k", "3");
    a->removeAttribute("m");
    a->setAttribute("n", "4");
    EXPECT_STREQ(a->attribute("k"), "3");
    EXPECT_FALSE(a->hasAttribute("m"));
    ASSERT_NE(a->attributes()->next, nullptr);
    EXPECT_STREQ(a->attributes()->next->name, "n");
    EXPECT_EQ(a->attributes()->next->next, nullptr);
}
