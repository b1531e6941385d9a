#include "XFileReader.h"

#include <cctype>
#include <cerrno>
#include <cstdlib>

namespace XTest
{

namespace
{
struct Token
{
    enum Kind
    {
        Word,
        String,
        Open,
        Close,
        Semicolon,
        Comma,
        End
    } kind;
    std::string text;
    int line;
};

bool tokenize(const std::string& text, size_t start, std::vector<Token>& tokens, std::string& error)
{
    int line = 1;
    for (size_t i = 0; i < start; ++i)
        line += text[i] == '\n';
    size_t i = start;
    while (i < text.size())
    {
        char c = text[i];
        if (c == '\n')
        {
            ++line;
            ++i;
        }
        else if (std::isspace(static_cast<unsigned char>(c)))
            ++i;
        else if (c == '/' && i + 1 < text.size() && text[i + 1] == '/')
            i = text.find('\n', i) == std::string::npos ? text.size() : text.find('\n', i);
        else if (c == '{' || c == '}' || c == ';' || c == ',')
        {
            Token::Kind kind = c == '{'   ? Token::Open
                               : c == '}' ? Token::Close
                               : c == ';' ? Token::Semicolon
                                          : Token::Comma;
            tokens.push_back({kind, std::string(1, c), line});
            ++i;
        }
        else if (c == '"')
        {
            size_t close = text.find('"', i + 1);
            if (close == std::string::npos)
            {
                error = "unterminated string at line " + std::to_string(line);
                return false;
            }
            tokens.push_back({Token::String, text.substr(i + 1, close - i - 1), line});
            i = close + 1;
        }
        else
        {
            size_t j = i;
            while (j < text.size() && !std::isspace(static_cast<unsigned char>(text[j])) &&
                   std::string("{};,\"").find(text[j]) == std::string::npos)
                ++j;
            tokens.push_back({Token::Word, text.substr(i, j - i), line});
            i = j;
        }
    }
    tokens.push_back({Token::End, "", line});
    return true;
}

class Parser
{
public:
    Parser(std::vector<Token> tokens, std::string& error) : mTokens(std::move(tokens)), mError(error) {}

    bool file(File& out)
    {
        while (peek().kind != Token::End)
            if (!object(out, nullptr))
                return false;
        return true;
    }

private:
    const Token& peek() const { return mTokens[mIndex]; }
    const Token& take() { return mTokens[mIndex < mTokens.size() - 1 ? mIndex++ : mIndex]; }

    bool fail(const std::string& message)
    {
        if (mError.empty())
            mError = message + " at line " + std::to_string(peek().line) + " (\"" + peek().text + "\")";
        return false;
    }

    bool expect(Token::Kind kind, const char* what)
    {
        if (peek().kind != kind)
            return fail(std::string("expected ") + what);
        take();
        return true;
    }

    bool number(float& value)
    {
        if (peek().kind != Token::Word)
            return fail("expected a number");
        const std::string& text = peek().text;
        char* end = nullptr;
        errno = 0;
        value = std::strtof(text.c_str(), &end);
        if (end != text.c_str() + text.size() || errno != 0)
            return fail("malformed number");
        take();
        return true;
    }

    bool integer(uint32_t& value)
    {
        if (peek().kind != Token::Word)
            return fail("expected an integer");
        const std::string& text = peek().text;
        char* end = nullptr;
        errno = 0;
        unsigned long v = std::strtoul(text.c_str(), &end, 10);
        if (text.empty() || !std::isdigit(static_cast<unsigned char>(text[0])) ||
            end != text.c_str() + text.size() || errno != 0 || v > 0xFFFFFFFFul)
            return fail("malformed integer");
        value = static_cast<uint32_t>(v);
        take();
        return true;
    }

    // "n;" followed by n entries; counts beyond what the file could hold
    // are refused before anything is allocated.
    bool count(uint32_t& n)
    {
        if (!integer(n) || !expect(Token::Semicolon, "';' after a count"))
            return false;
        if (n > mTokens.size())
            return fail("count larger than the file");
        return true;
    }

    // After entry i of n: ',' between entries, ';' after the last.
    bool entrySeparator(uint32_t i, uint32_t n)
    {
        return i + 1 < n ? expect(Token::Comma, "',' between entries")
                         : expect(Token::Semicolon, "';' after the last entry");
    }

    bool vectors(std::vector<Vec3>& out)
    {
        uint32_t n;
        if (!count(n))
            return false;
        out.resize(n);
        for (uint32_t i = 0; i < n; ++i)
        {
            Vec3& v = out[i];
            if (!number(v.x) || !expect(Token::Semicolon, "';'") || !number(v.y) ||
                !expect(Token::Semicolon, "';'") || !number(v.z) || !expect(Token::Semicolon, "';'") ||
                !entrySeparator(i, n))
                return false;
        }
        return true;
    }

    bool faces(std::vector<std::array<uint32_t, 3>>& out)
    {
        uint32_t n;
        if (!count(n))
            return false;
        out.resize(n);
        for (uint32_t i = 0; i < n; ++i)
        {
            uint32_t corners;
            if (!integer(corners) || !expect(Token::Semicolon, "';'"))
                return false;
            if (corners != 3)
                return fail("face that is not a triangle");
            for (int k = 0; k < 3; ++k)
                if (!integer(out[i][k]) || !expect(k < 2 ? Token::Comma : Token::Semicolon, "face separator"))
                    return false;
            if (!entrySeparator(i, n))
                return false;
        }
        return true;
    }

    bool colour(float* values, int components)
    {
        for (int k = 0; k < components; ++k)
            if (!number(values[k]) || !expect(Token::Semicolon, "';' in a colour"))
                return false;
        return expect(Token::Semicolon, "';' after a colour");
    }

    bool skipObject()
    {
        int depth = 0;
        do
        {
            if (peek().kind == Token::End)
                return fail("unbalanced braces");
            if (peek().kind == Token::Open)
                ++depth;
            if (peek().kind == Token::Close)
                --depth;
            take();
        } while (depth > 0);
        return true;
    }

    // Type [name] { body }
    bool header(std::string& type, std::string& name)
    {
        if (peek().kind != Token::Word)
            return fail("expected an object");
        type = take().text;
        if (peek().kind == Token::Word)
            name = take().text;
        return expect(Token::Open, "'{'");
    }

    bool material(Material& m)
    {
        std::string type, name;
        if (!header(type, name))
            return false;
        if (type != "Material")
            return fail("expected a Material");
        if (!colour(m.diffuse.data(), 4) || !number(m.power) || !expect(Token::Semicolon, "';'") ||
            !colour(m.specular.data(), 3) || !colour(m.emissive.data(), 3))
            return false;
        while (peek().kind == Token::Word)
        {
            std::string childType, childName;
            size_t mark = mIndex;
            if (!header(childType, childName))
                return false;
            if (childType == "TextureFilename")
            {
                if (peek().kind != Token::String)
                    return fail("expected a file name");
                m.texture = take().text;
                if (!expect(Token::Semicolon, "';'") || !expect(Token::Close, "'}'"))
                    return false;
            }
            else
            {
                mIndex = mark;
                if (!skipObject())
                    return false;
            }
        }
        return expect(Token::Close, "'}' after a material");
    }

    bool materialList(Mesh& mesh)
    {
        uint32_t materials, indexes;
        if (!count(materials) || !count(indexes))
            return false;
        mesh.faceMaterials.resize(indexes);
        for (uint32_t i = 0; i < indexes; ++i)
            if (!integer(mesh.faceMaterials[i]) || !entrySeparator(i, indexes))
                return false;
        if (peek().kind == Token::Semicolon)
            take();
        while (peek().kind == Token::Word)
        {
            mesh.materials.emplace_back();
            if (!material(mesh.materials.back()))
                return false;
        }
        if (mesh.materials.size() != materials)
            return fail("material count differs from the materials listed");
        return expect(Token::Close, "'}' after the material list");
    }

    bool mesh(Mesh& m)
    {
        if (!vectors(m.positions) || !faces(m.faces))
            return false;
        while (peek().kind == Token::Word)
        {
            std::string type, name;
            size_t mark = mIndex;
            if (!header(type, name))
                return false;
            if (type == "MeshNormals")
            {
                m.hasNormals = true;
                if (!vectors(m.normals) || !faces(m.normalFaces) || !expect(Token::Close, "'}'"))
                    return false;
            }
            else if (type == "MeshTextureCoords")
            {
                m.hasUvs = true;
                uint32_t n;
                if (!count(n))
                    return false;
                m.uvs.resize(n);
                for (uint32_t i = 0; i < n; ++i)
                    if (!number(m.uvs[i][0]) || !expect(Token::Semicolon, "';'") || !number(m.uvs[i][1]) ||
                        !expect(Token::Semicolon, "';'") || !entrySeparator(i, n))
                        return false;
                if (!expect(Token::Close, "'}'"))
                    return false;
            }
            else if (type == "MeshMaterialList")
            {
                m.hasMaterialList = true;
                if (!materialList(m))
                    return false;
            }
            else
            {
                mIndex = mark;
                if (!skipObject())
                    return false;
            }
        }
        return expect(Token::Close, "'}' after a mesh");
    }

    bool object(File& out, const char* parent)
    {
        std::string type, name;
        size_t mark = mIndex;
        if (!header(type, name))
            return false;
        if (type == "Frame")
        {
            while (peek().kind == Token::Word)
                if (!object(out, "Frame"))
                    return false;
            return expect(Token::Close, "'}' after a frame");
        }
        if (type == "FrameTransformMatrix")
        {
            if (!parent)
                return fail("transform outside a frame");
            std::array<float, 16> matrix{};
            for (int k = 0; k < 16; ++k)
                if (!number(matrix[k]) ||
                    !expect(k < 15 ? Token::Comma : Token::Semicolon, "matrix separator"))
                    return false;
            out.frameMatrices.push_back(matrix);
            return expect(Token::Semicolon, "';;' after the matrix") && expect(Token::Close, "'}'");
        }
        if (type == "Mesh")
        {
            out.meshes.emplace_back();
            out.meshes.back().name = name;
            return mesh(out.meshes.back());
        }
        mIndex = mark;
        return skipObject();
    }

    std::vector<Token> mTokens;
    size_t mIndex = 0;
    std::string& mError;
};
} // namespace

bool parseXFile(const std::string& text, File& out, std::string& error)
{
    error.clear();
    const std::string magic = "xof 0303txt 0032";
    if (text.compare(0, magic.size(), magic) != 0)
    {
        error = "not a text .X file of version 3.3";
        return false;
    }
    std::vector<Token> tokens;
    if (!tokenize(text, magic.size(), tokens, error))
        return false;
    Parser parser(std::move(tokens), error);
    return parser.file(out);
}

} // namespace XTest
