#include "Platform/Mesh/XMeshLoader.h"

#include <cstring>
#include <unordered_map>

namespace Platform
{

using namespace Gpu;

namespace
{

struct NamedMaterials
{
    std::unordered_map<std::string, const XObject*> byName;

    void gather(const XObject& object)
    {
        for (const auto& child : object.children)
        {
            if (child->isReference)
                continue;
            if (child->type == "Material" && !child->name.empty())
                byName.emplace(child->name, child.get());
            gather(*child);
        }
    }
};

bool readVectors(XValueReader& reader, std::vector<Vector3>* out)
{
    uint32_t count = 0;
    if (!reader.readCount(&count, X_MAX_VERTICES) || !reader.has(count, 3))
        return false;
    out->resize(count);
    for (Vector3& v : *out)
    {
        if (!reader.readFloat(&v.x) || !reader.readFloat(&v.y) || !reader.readFloat(&v.z))
            return false;
    }
    return true;
}

bool readFaces(XValueReader& reader, std::vector<std::vector<uint32_t>>* out)
{
    uint32_t count = 0;
    // Every polygon needs its corner count and at least three corners.
    if (!reader.readCount(&count, X_MAX_FACES) || !reader.has(count, 4))
        return false;
    out->resize(count);
    for (auto& face : *out)
    {
        uint32_t corners = 0;
        if (!reader.readCount(&corners, X_MAX_POLYGON_CORNERS) || corners < 3 || !reader.has(corners, 1))
            return false;
        face.resize(corners);
        for (uint32_t& index : face)
        {
            if (!reader.readCount(&index))
                return false;
        }
    }
    return true;
}

bool readMaterial(const XObject& object, XMaterial* out)
{
    XValueReader reader(object);
    Material& m = out->material;
    m = Material{};
    float specular[3], emissive[3];
    if (!reader.readFloat(&m.diffuse.r) || !reader.readFloat(&m.diffuse.g) ||
        !reader.readFloat(&m.diffuse.b) || !reader.readFloat(&m.diffuse.a) || !reader.readFloat(&m.power))
        return false;
    for (float& value : specular)
    {
        if (!reader.readFloat(&value))
            return false;
    }
    for (float& value : emissive)
    {
        if (!reader.readFloat(&value))
            return false;
    }
    m.specular = {specular[0], specular[1], specular[2], 1};
    m.emissive = {emissive[0], emissive[1], emissive[2], 1};
    out->textureFileName.clear();
    for (const auto& child : object.children)
    {
        if (!child->isReference && child->type == "TextureFilename")
        {
            XValueReader names(*child);
            if (!names.readString(&out->textureFileName))
                return false;
        }
    }
    return true;
}

bool readMaterialList(const XObject& object, const NamedMaterials& named, XMeshData* mesh)
{
    XValueReader reader(object);
    uint32_t materialCount = 0, indexCount = 0;
    if (!reader.readCount(&materialCount, X_MAX_MATERIALS) || !reader.readCount(&indexCount, X_MAX_FACES) ||
        !reader.has(indexCount, 1))
        return false;
    mesh->faceMaterials.resize(indexCount);
    for (uint32_t& index : mesh->faceMaterials)
    {
        if (!reader.readCount(&index) || index >= materialCount)
            return false;
    }
    for (const auto& child : object.children)
    {
        const XObject* source = child.get();
        if (child->isReference)
        {
            auto found = named.byName.find(child->name);
            if (found == named.byName.end())
                return false;
            source = found->second;
        }
        else if (child->type != "Material")
            continue;
        XMaterial material;
        if (!readMaterial(*source, &material))
            return false;
        mesh->materials.push_back(std::move(material));
    }
    return mesh->materials.size() == materialCount;
}

bool readMesh(const XObject& object, const NamedMaterials& named, XMeshData* mesh)
{
    mesh->name = object.name;
    mesh->source = &object;
    XValueReader reader(object);
    if (!readVectors(reader, &mesh->positions) || !readFaces(reader, &mesh->faces))
        return false;
    for (const auto& face : mesh->faces)
    {
        for (uint32_t index : face)
        {
            if (index >= mesh->positions.size())
                return false;
        }
    }
    for (const auto& child : object.children)
    {
        if (child->isReference)
            continue;
        if (child->type == "MeshNormals")
        {
            XValueReader normals(*child);
            if (!readVectors(normals, &mesh->normals) || !readFaces(normals, &mesh->normalFaces) ||
                mesh->normalFaces.size() != mesh->faces.size())
                return false;
            for (size_t f = 0; f < mesh->faces.size(); ++f)
            {
                if (mesh->normalFaces[f].size() != mesh->faces[f].size())
                    return false;
                for (uint32_t index : mesh->normalFaces[f])
                {
                    if (index >= mesh->normals.size())
                        return false;
                }
            }
        }
        else if (child->type == "MeshTextureCoords")
        {
            XValueReader coords(*child);
            uint32_t count = 0;
            if (!coords.readCount(&count, X_MAX_VERTICES) || count != mesh->positions.size() ||
                !coords.has(count, 2))
                return false;
            mesh->textureCoords.resize(count);
            for (Vector2& uv : mesh->textureCoords)
            {
                if (!coords.readFloat(&uv.x) || !coords.readFloat(&uv.y))
                    return false;
            }
        }
        else if (child->type == "MeshMaterialList")
        {
            if (!readMaterialList(*child, named, mesh))
                return false;
        }
    }
    return true;
}

bool readFrame(const XObject& object, const NamedMaterials& named, XFrame* frame)
{
    frame->name = object.name;
    for (const auto& child : object.children)
    {
        if (child->isReference)
            continue;
        if (child->type == "FrameTransformMatrix")
        {
            XValueReader reader(*child);
            for (int row = 0; row < 4; ++row)
            {
                for (int column = 0; column < 4; ++column)
                {
                    if (!reader.readFloat(&frame->transform.m[row][column]))
                        return false;
                }
            }
        }
        else if (child->type == "Frame")
        {
            auto sub = std::make_unique<XFrame>();
            if (!readFrame(*child, named, sub.get()))
                return false;
            frame->children.push_back(std::move(sub));
        }
        else if (child->type == "Mesh")
        {
            XMeshData mesh;
            if (!readMesh(*child, named, &mesh))
                return false;
            frame->meshes.push_back(std::move(mesh));
        }
    }
    return true;
}

struct Vertex
{
    Vector3 position;
    Vector3 normal;
    Vector2 uv;
};
static_assert(sizeof(Vertex) == 32);

struct MergedMesh
{
    std::vector<Vertex> vertices;
    std::vector<uint32_t> indices;
    std::vector<uint32_t> attributes;
    std::vector<XMaterial> materials;
};

// The matrix that carries normals: the inverse transpose of the placement.
Matrix normalMatrix(const Matrix& world)
{
    Matrix inverse;
    if (!matrixInverse(world, inverse))
        return world;
    return matrixTranspose(inverse);
}

bool mergeMesh(const XMeshData& mesh, const Matrix& world, MergedMesh* out)
{
    uint64_t triangles = countTriangles(mesh);
    if (out->attributes.size() + triangles > X_MAX_FACES)
        return false;

    uint32_t base = static_cast<uint32_t>(out->materials.size());
    if (mesh.materials.empty())
    {
        out->materials.push_back(plainMaterial());
    }
    else
        out->materials.insert(out->materials.end(), mesh.materials.begin(), mesh.materials.end());

    Matrix normals = normalMatrix(world);
    return weldFaces(
        mesh, out->vertices.size(), base,
        [&](uint32_t position, const Vector3& normal)
        {
            Vertex vertex;
            vertex.position = vec3TransformCoord(mesh.positions[position], world);
            vertex.normal = vec3Normalize(vec3TransformNormal(normal, normals));
            if (!mesh.textureCoords.empty())
                vertex.uv = mesh.textureCoords[position];
            out->vertices.push_back(vertex);
        },
        out->indices, out->attributes);
}

bool mergeFrame(const XFrame& frame, const Matrix& parent, MergedMesh* out)
{
    Matrix world = frame.transform * parent;
    for (const XMeshData& mesh : frame.meshes)
    {
        if (!mergeMesh(mesh, world, out))
            return false;
    }
    for (const auto& child : frame.children)
    {
        if (!mergeFrame(*child, world, out))
            return false;
    }
    return true;
}

} // namespace

PlatformResult readXFrames(const XObject& file, XFrame* root)
{
    *root = XFrame{};
    NamedMaterials named;
    named.gather(file);
    for (const auto& child : file.children)
    {
        if (child->isReference)
            continue;
        if (child->type == "Frame")
        {
            auto frame = std::make_unique<XFrame>();
            if (!readFrame(*child, named, frame.get()))
                return MESH_INVALIDDATA;
            root->children.push_back(std::move(frame));
        }
        else if (child->type == "Mesh")
        {
            XMeshData mesh;
            if (!readMesh(*child, named, &mesh))
                return MESH_INVALIDDATA;
            root->meshes.push_back(std::move(mesh));
        }
    }
    return GPU_OK;
}

PlatformResult loadMeshFromX(const void* data, size_t size, uint32_t options, Device* device,
                             std::vector<XMaterial>* materials, std::unique_ptr<Mesh>* mesh)
{
    if (materials == nullptr || mesh == nullptr || device == nullptr)
        return GPU_INVALIDCALL;
    mesh->reset();
    materials->clear();
    XObject file;
    if (!parseXFile(data, size, &file))
        return MESH_INVALIDDATA;
    XFrame root;
    if (PlatformResult result = readXFrames(file, &root))
        return result;
    MergedMesh merged;
    if (!mergeFrame(root, Matrix{}, &merged))
        return MESH_INVALIDDATA;
    if (merged.attributes.empty())
        return MESH_INVALIDDATA;

    uint32_t vertexCount = static_cast<uint32_t>(merged.vertices.size());
    uint32_t faceCount = static_cast<uint32_t>(merged.attributes.size());
    if (vertexCount > 0xFFFF)
        options |= MESH_32BIT;
    std::unique_ptr<Mesh> made;
    if (PlatformResult result =
            Mesh::create(faceCount, vertexCount, options, FVF_XYZ_NORMAL_TEX1, device, &made))
        return result;
    void* bytes = nullptr;
    if (PlatformResult result = made->lockVertexBuffer(0, &bytes))
        return result;
    std::memcpy(bytes, merged.vertices.data(), merged.vertices.size() * sizeof(Vertex));
    made->unlockVertexBuffer();
    if (PlatformResult result = made->lockIndexBuffer(0, &bytes))
        return result;
    if (options & MESH_32BIT)
        std::memcpy(bytes, merged.indices.data(), merged.indices.size() * 4);
    else
    {
        auto* out = static_cast<uint16_t*>(bytes);
        for (size_t i = 0; i < merged.indices.size(); ++i)
            out[i] = static_cast<uint16_t>(merged.indices[i]);
    }
    made->unlockIndexBuffer();
    uint32_t* attributes = nullptr;
    if (PlatformResult result = made->lockAttributeBuffer(0, &attributes))
        return result;
    std::memcpy(attributes, merged.attributes.data(), merged.attributes.size() * 4);
    made->unlockAttributeBuffer();
    made->sortFacesByAttribute();

    *materials = std::move(merged.materials);
    *mesh = std::move(made);
    return GPU_OK;
}

uint64_t countTriangles(const XMeshData& mesh)
{
    uint64_t triangles = 0;
    for (const auto& face : mesh.faces)
        triangles += face.size() - 2;
    return triangles;
}

std::vector<Vector3> faceNormals(const XMeshData& mesh)
{
    std::vector<Vector3> computed(mesh.positions.size(), Vector3{});
    for (const auto& face : mesh.faces)
    {
        for (size_t k = 1; k + 1 < face.size(); ++k)
        {
            const Vector3& a = mesh.positions[face[0]];
            Vector3 n = vec3Cross(mesh.positions[face[k]] - a, mesh.positions[face[k + 1]] - a);
            for (uint32_t index : {face[0], face[k], face[k + 1]})
                computed[index] = computed[index] + n;
        }
    }
    return computed;
}

bool weldFaces(const XMeshData& mesh, size_t firstVertex, uint32_t firstAttribute,
               const std::function<void(uint32_t position, const Vector3& normal)>& makeVertex,
               std::vector<uint32_t>& indices, std::vector<uint32_t>& attributes)
{
    const bool ownNormals = !mesh.normalFaces.empty();
    std::vector<Vector3> computed;
    if (!ownNormals)
        computed = faceNormals(mesh);
    const size_t materials = std::max<size_t>(1, mesh.materials.size());
    size_t vertices = firstVertex;
    std::unordered_map<uint64_t, uint32_t> corners;
    for (size_t f = 0; f < mesh.faces.size(); ++f)
    {
        const auto& face = mesh.faces[f];
        std::vector<uint32_t> made(face.size());
        for (size_t k = 0; k < face.size(); ++k)
        {
            uint32_t p = face[k];
            uint32_t n = ownNormals ? mesh.normalFaces[f][k] : p;
            uint64_t key = uint64_t(p) << 32 | n;
            auto found = corners.find(key);
            if (found != corners.end())
            {
                made[k] = found->second;
                continue;
            }
            if (vertices >= X_MAX_VERTICES)
                return false;
            makeVertex(p, ownNormals ? mesh.normals[n] : computed[p]);
            made[k] = static_cast<uint32_t>(vertices++);
            corners.emplace(key, made[k]);
        }
        uint32_t material = 0;
        if (!mesh.faceMaterials.empty())
            material = mesh.faceMaterials[std::min(f, mesh.faceMaterials.size() - 1)];
        if (material >= materials)
            return false;
        for (size_t k = 1; k + 1 < face.size(); ++k)
        {
            indices.insert(indices.end(), {made[0], made[k], made[k + 1]});
            attributes.push_back(firstAttribute + material);
        }
    }
    return true;
}

XMaterial plainMaterial()
{
    XMaterial plain;
    plain.material.diffuse = {1, 1, 1, 1};
    plain.material.specular = {0, 0, 0, 1};
    plain.material.emissive = {0, 0, 0, 1};
    return plain;
}

} // namespace Platform
