#version 120
uniform sampler2D tex;
varying vec3 normal;
varying vec3 eyePos;

// GL's default light model: the viewer sits at infinity along +z in eye space.
const vec3 kViewer = vec3(0.0, 0.0, 1.0);

void main() {
    vec3 n = normalize(normal);
    vec3 toLight = gl_LightSource[0].position.xyz - eyePos;
    float dist = length(toLight);
    toLight /= dist;
    float attenuation = 1.0 / (gl_LightSource[0].constantAttenuation +
                               dist * (gl_LightSource[0].linearAttenuation +
                                       dist * gl_LightSource[0].quadraticAttenuation));
    float nDotL = max(dot(n, toLight), 0.0);
    vec3 diffuse = gl_FrontLightProduct[0].ambient.rgb + gl_FrontLightProduct[0].diffuse.rgb * nDotL;
    vec3 specular = vec3(0.0);
    if (nDotL > 0.0) {
        vec3 halfway = normalize(toLight + kViewer);
        specular = gl_FrontLightProduct[0].specular.rgb *
                   pow(max(dot(n, halfway), 1e-4), gl_FrontMaterial.shininess);
    }
    // Highlights are added after the texture so that dark texels still shine.
    vec4 texel = texture2D(tex, gl_TexCoord[0].st);
    vec3 light = gl_FrontLightModelProduct.sceneColor.rgb + diffuse * attenuation;
    gl_FragColor = vec4(texel.rgb * light + specular * attenuation,
                        texel.a * gl_FrontMaterial.diffuse.a);
}
