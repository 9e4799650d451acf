#include "media/media_fixtures.h"
#include "media/texture.h"
#include "support/fake_platform.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <thread>

namespace {

struct TextureInfo {
    GLint width = -1;
    GLint height = -1;
    GLint minFilter = 0;
    GLint magFilter = 0;
    std::vector<unsigned char> texels;
};

TextureInfo inspect(TextureId texture) {
    TextureInfo info;
    glBindTexture(GL_TEXTURE_2D, texture);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &info.width);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &info.height);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &info.minFilter);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &info.magFilter);
    if (info.width > 0 && info.height > 0) {
        info.texels.resize(static_cast<std::size_t>(info.width * info.height * 4));
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, info.texels.data());
    }
    return info;
}

GLuint boundTexture() {
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    return static_cast<GLuint>(bound);
}

// A picture of grey levels that every colour type can hold exactly.
constexpr std::uint32_t pictureWidth = 100;
constexpr std::uint32_t pictureHeight = 37;

unsigned char greyAt(std::uint32_t x, std::uint32_t y) {
    return static_cast<unsigned char>((x * 7 + y * 13) % 16 * 17);
}

PngPicture greyPicture(int colourType) {
    PngPicture picture;
    picture.width = pictureWidth;
    picture.height = pictureHeight;
    picture.colourType = colourType;
    if (colourType == 3) {
        for (int level = 0; level < 16; ++level) {
            const auto value = static_cast<unsigned char>(level * 17);
            picture.palette.insert(picture.palette.end(), {value, value, value});
        }
    }
    for (std::uint32_t y = 0; y < pictureHeight; ++y) {
        for (std::uint32_t x = 0; x < pictureWidth; ++x) {
            const unsigned char grey = greyAt(x, y);
            switch (colourType) {
            case 0:
                picture.rows.push_back(grey);
                break;
            case 3:
                picture.rows.push_back(static_cast<unsigned char>(grey / 17));
                break;
            default:
                picture.rows.insert(picture.rows.end(), {grey, grey, grey, 255});
                break;
            }
        }
    }
    return picture;
}

std::vector<unsigned char> greyTexels() {
    std::vector<unsigned char> texels;
    for (std::uint32_t y = 0; y < pictureHeight; ++y) {
        for (std::uint32_t x = 0; x < pictureWidth; ++x) {
            const unsigned char grey = greyAt(x, y);
            texels.insert(texels.end(), {grey, grey, grey, 255});
        }
    }
    return texels;
}

const std::string caption = "\x73\x7A\x61\x72\xC3\xBC\x67\x79";

class TextureTest : public testing::Test {
  protected:
    void SetUp() override {
        fake = &installFakePlatform();
        ensureGlContext();
    }
    FakePlatform* fake = nullptr;
    ScratchDir dir;
};

TEST_F(TextureTest, AMissingPictureShowsTheBoxAndEndsTheProgram) {
    try {
        loadTexture(dir.file("qor_virus5.png"));
        ADD_FAILURE() << "the load went on";
    } catch (const ProcessExit& exit) {
        EXPECT_EQ(exit.status, 1);
    }
    ASSERT_EQ(fake->boxes.size(), 1u);
    EXPECT_EQ(fake->boxes[0].text, "nyalod");
    EXPECT_EQ(fake->boxes[0].caption, caption);
}

TEST_F(TextureTest, AnUndecodableFileShowsOneBoxAndStillGivesATexture) {
    std::vector<unsigned char> cutOff = encodePng(greyPicture(6));
    cutOff.resize(cutOff.size() - 12); // without its IEND chunk
    writeBytes(dir.file("empty.png"), {});
    writeBytes(dir.file("text.png"), std::vector<unsigned char>(200, 'x'));
    writeBytes(dir.file("cut.png"), cutOff);
    const struct {
        const char* name;
        GLint width, height; // as far as the decoder read the header
    } cases[] = {{"empty.png", 0, 0}, {"text.png", 0, 0}, {"cut.png", 100, 37}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        fake->boxes.clear();
        const TextureId texture = loadTexture(dir.file(c.name));
        ASSERT_EQ(fake->boxes.size(), 1u);
        EXPECT_EQ(fake->boxes[0].text, "nyalod");
        EXPECT_EQ(fake->boxes[0].caption, caption);
        EXPECT_NE(texture, 0u);
        EXPECT_EQ(boundTexture(), texture);
        const TextureInfo info = inspect(texture);
        EXPECT_EQ(info.width, c.width);
        EXPECT_EQ(info.height, c.height);
        EXPECT_EQ(info.minFilter, GL_LINEAR);
        EXPECT_EQ(info.magFilter, GL_LINEAR);
    }
}

TEST_F(TextureTest, EveryColourTypeOfOnePictureGivesTheSameTexelsAtTheImageSize) {
    for (const int colourType : {6, 0, 3}) {
        SCOPED_TRACE(colourType);
        const std::string path = dir.file("picture" + std::to_string(colourType) + ".png");
        writeBytes(path, encodePng(greyPicture(colourType)));
        const TextureId texture = loadTexture(path);
        EXPECT_TRUE(fake->boxes.empty());
        EXPECT_EQ(boundTexture(), texture);
        const TextureInfo info = inspect(texture);
        EXPECT_EQ(info.width, 100);
        EXPECT_EQ(info.height, 37);
        EXPECT_EQ(info.minFilter, GL_LINEAR);
        EXPECT_EQ(info.magFilter, GL_LINEAR);
        EXPECT_TRUE(info.texels == greyTexels());
    }
}

TEST_F(TextureTest, TwoLoadsOfOneFileGiveTwoTexturesAndCountTwo) {
    writeBytes(dir.file("cell.png"), encodePng(greyPicture(6)));
    const std::uint32_t before = texturesCreated();
    const TextureId first = loadTexture(dir.file("cell.png"));
    const TextureId second = loadTexture(dir.file("cell.png"));
    EXPECT_NE(first, 0u);
    EXPECT_NE(second, 0u);
    EXPECT_NE(first, second);
    EXPECT_EQ(texturesCreated() - before, 2u);
}

// GL contexts are current per thread: a fresh thread is like static initialisation, before the
// window exists.
TEST_F(TextureTest, BeforeAnyContextTheFileIsStillCheckedAndZeroReturned) {
    writeBytes(dir.file("qor_virus5.png"), encodePng(greyPicture(6)));
    writeBytes(dir.file("broken.png"), {'n', 'o'});
    TextureId good = 99;
    TextureId broken = 99;
    const std::uint32_t before = texturesCreated();
    std::thread([&] {
        good = loadTexture(dir.file("qor_virus5.png"));
        broken = loadTexture(dir.file("broken.png"));
    }).join();
    EXPECT_EQ(good, 0u);
    EXPECT_EQ(broken, 0u);
    EXPECT_EQ(texturesCreated(), before);
    ASSERT_EQ(fake->boxes.size(), 1u);
    EXPECT_EQ(fake->boxes[0].text, "nyalod");
}

} // namespace
