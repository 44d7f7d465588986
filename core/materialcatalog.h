#pragma once

// What the layup manager's material check asks of the request's material
// catalogue. The host layer's MaterialList implements it, so that the model
// needs nothing of that layer at link time.
class MaterialCatalog
{
public:
    // Whether the catalogue knows the material with that id.
    virtual bool Contains(int id) const = 0;

protected:
    MaterialCatalog() = default;
    virtual ~MaterialCatalog() = default; // not deleted through this interface
    MaterialCatalog(const MaterialCatalog &) = default;
    MaterialCatalog &operator=(const MaterialCatalog &) = default;
};
