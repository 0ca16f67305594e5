// The classes each layer defines, in order, and how look-ups by name meet the
// names defined twice.

#include "properties/PropertyClass.h"
#include "properties/PropertyClassList.h"
#include "targets/ARMBuildSystem.h"
#include "targets/ARMProjectSystem.h"

#include <gtest/gtest.h>

#include <QStringList>

namespace {

QStringList words(const char *text)
{
    return QString::fromLatin1(text).split(u' ', Qt::SkipEmptyParts);
}

const QStringList projectNames = words(
    "date_created date_modified Platform full_path relative_path Name file_name file_codec file_open_with file_type "
    "file_tag filter path filter recurse project_type name project_directory full_project_directory "
    "project_dependencies macros batch_build_configurations inherited_configurations num_elements");

const QStringList buildNames = words(
    "build_treat_warnings_as_errors build_suppress_warnings build_intermediate_directory build_output_directory "
    "build_root_output_directory build_object_file_name build_output_file_name build_output_file_name build_quietly "
    "build_action build_debug_information build_exclude_from_build build_always_rebuild stage_output_filepath "
    "stage_command stage_command_wd stage_set_readonly stage_post_build_command stage_post_build_command_wd "
    "combine_output_filepath combine_command combine_command_wd combine_set_readonly");

const QStringList standardNames = words(
    "link_include_standard_libraries link_standard_libraries_directory link_use_multi_threaded_libraries "
    "link_IOLibraryName link_symbol_definitions linker_keep_symbols c_enforce_ansi_checking "
    "c_undefine_all_preprocessor_definitions c_preprocessor_definitions c_preprocessor_undefinitions "
    "c_ignore_includes c_system_include_directories c_user_include_directories c_additional_options "
    "c_additional_options_from_file c_only_additional_options c_only_additional_options_from_file "
    "cpp_only_additional_options cpp_only_additional_options_from_file cpp_enable_exceptions cpp_enable_rtti "
    "asm_additional_options asm_additional_options_from_file default_code_section default_data_section "
    "default_zeroed_section default_const_section default_vector_section linker_additional_files "
    "linker_additional_options linker_additional_options_from_file linker_memory_map_file linker_memory_map_macros "
    "linker_section_placement_file linker_section_placement_macros linker_output_format linker_map_file "
    "linker_printf_fmt_level linker_printf_width_precision_supported linker_printf_fp_enabled linker_scanf_fmt_level "
    "linker_scanf_fp_enabled linker_scanf_character_group_matching_enabled compile_pre_build_command "
    "compile_pre_build_command_wd compile_post_build_command compile_post_build_command_wd linker_pre_build_command "
    "linker_pre_build_command_wd linker_patch_build_command linker_patch_build_command_wd linker_post_build_command "
    "linker_post_build_command_wd linker_keep_symbols external_build_file_name external_build_command "
    "external_clean_command external_start_address external_load_address external_load_file_type "
    "external_debug_symbols_file_name external_debug_symbols_load_address target_reset_script target_attach_script "
    "target_go_script target_stop_script target_connect_script target_disconnect_script target_debug_begin_script "
    "target_debug_end_script target_extras_script arm_linker_jtag_pad_pre_ir arm_linker_jtag_pad_post_ir "
    "arm_linker_jtag_pad_pre_dr arm_linker_jtag_pad_post_dr property_groups_file_path build_remove_unused_symbols "
    "debug_working_directory debug_command_arguments debug_additional_load_file debug_additional_load_file_address "
    "debug_additional_load_file_type debug_entry_point_symbol debug_startup_completion_point");

const QStringList gccNames = words(
    "gcc_optimization_level gcc_omit_frame_pointer gcc_entry_point gcc_strip_symbols gcc_emit_assembler_cfi");

const QStringList armNames = words(
    "arm_instruction_set arm_architecture arm_core_type arm_fp_format arm_fpu_type arm_fp_abi arm_endian "
    "arm_long_calls arm_interwork arm_keep_assembly arm_module_call_vias arm_library_check_memory_segment_overflow "
    "arm_use_gcc_libraries arm_library_instruction_set target_loader_reset_script arm_target_debug_interface_type "
    "arm_target_interface_type arm_target_stop_cpu_using_dbgrq arm_target_flash_loader_file_path "
    "arm_target_flash_loader_type arm_target_loader_parameter arm_target_loader_first_program_section "
    "arm_target_loader_last_program_section arm_target_loader_reset_after_download arm_target_loader_can_erase_range "
    "arm_target_loader_can_erase_all arm_target_loader_can_lock_range arm_target_loader_can_lock_all "
    "arm_target_loader_can_unlock_range arm_target_loader_can_unlock_all "
    "arm_target_loader_can_only_verify_with_download arm_target_loader_can_only_download_after_erase "
    "arm_target_loader_can_peek arm_target_loader_applicable_loaders arm_target_loader_default_loader "
    "arm_target_debug_handler_file_path arm_target_debug_handler_load_address arm_target_use_debug_handler "
    "arm_target_monitor_mode_debug arm_target_monitor_mode_memory arm_target_coprocessor_execute_address "
    "arm_target_read_only_software_breakpoints arm_target_read_write_software_breakpoints "
    "arm_simulator_memory_simulation_filename arm_simulator_memory_simulation_parameter "
    "arm_simulator_memory_simulation_parameter_macros arm_simulator_run_target_loader arm_linker_stack_size "
    "arm_linker_irq_stack_size arm_linker_fiq_stack_size arm_linker_svc_stack_size arm_linker_abt_stack_size "
    "arm_linker_und_stack_size arm_linker_heap_size arm_linker_treat_warnings_as_errors "
    "arm_linker_no_warn_on_mismatch arm_link_debugio_type arm_linker_gap_fill arm_linker_stack_size "
    "arm_linker_process_stack_size");

QStringList namesOf(const QList<PropertyClass *> &classes)
{
    QStringList names;
    for (const PropertyClass *propertyClass : classes)
        names.append(propertyClass->name());
    return names;
}

// The classes that a direct reference reaches, from the first id to the
// last, so that a reference to the wrong row shows as a name out of place.
template <typename System, typename Id>
QList<PropertyClass *> byReference(const System &system, Id count)
{
    QList<PropertyClass *> classes;
    for (int id = 0; id < count; ++id)
        classes.append(system.propertyClass(Id(id)));
    return classes;
}

TEST(DefinitionOrder, eachLayerDefinesItsClassesInOrderAndReachesEachDirectly)
{
    const ARMProjectSystem projectSystem;
    const ARMBuildSystem buildSystem;

    EXPECT_EQ(projectNames.size(), 24);
    EXPECT_EQ(namesOf(projectSystem.propertyClasses()), projectNames);
    EXPECT_EQ(byReference(projectSystem, ProjectSystem::ProjectSystemPropertyCount),
              projectSystem.propertyClasses());

    EXPECT_EQ(buildNames.size(), 23);
    EXPECT_EQ(standardNames.size(), 84);
    EXPECT_EQ(gccNames.size(), 5);
    EXPECT_EQ(armNames.size(), 60);
    // The layers define their classes base first.
    EXPECT_EQ(namesOf(buildSystem.propertyClasses()), buildNames + standardNames + gccNames + armNames);
    const QList<PropertyClass *> referenced =
        byReference(buildSystem, BuildSystem::BuildSystemPropertyCount)
        + byReference(buildSystem, StandardBuildSystem::StandardBuildSystemPropertyCount)
        + byReference(buildSystem, GCCBuildSystem::GCCBuildSystemPropertyCount)
        + byReference(buildSystem, ARMBuildSystem::ARMBuildSystemPropertyCount);
    EXPECT_EQ(referenced, buildSystem.propertyClasses());
}

TEST(DefinitionOrder, everyClassJoinsTheProcessWideListInCreationOrderAndLeavesItWithItsOwner)
{
    PropertyClassList &global = PropertyClassList::global();
    const qsizetype before = global.size();
    {
        const ARMProjectSystem projectSystem;
        const ARMBuildSystem buildSystem;
        ASSERT_EQ(global.size(), before + 24 + 172);
        EXPECT_EQ(global.mid(before, 24), projectSystem.propertyClasses());
        EXPECT_EQ(global.mid(before + 24), buildSystem.propertyClasses());
    }
    EXPECT_EQ(global.size(), before);
}

TEST(DefinitionOrder, namesDefinedTwiceAreDistinctClassesAndLookUpsFindTheFirst)
{
    const ARMProjectSystem projectSystem;
    const ARMBuildSystem buildSystem;

    // The first of two classes of one name is the one a look-up finds.
    const struct {
        const PropertyClass *first;
        const PropertyClass *second;
        const PropertyClass *found;
    } pairs[] = {
        {buildSystem.propertyClass(BuildSystem::BuildExecutableFileName),
         buildSystem.propertyClass(BuildSystem::BuildLibraryFileName),
         BuildSystem::findPropertyClass("build_output_file_name")},
        {projectSystem.propertyClass(ProjectSystem::FolderFilter),
         projectSystem.propertyClass(ProjectSystem::DynamicFolderFilter), projectSystem.findPropertyClass("filter")},
        {buildSystem.propertyClass(ARMBuildSystem::ArmLinkerStackSize),
         buildSystem.propertyClass(ARMBuildSystem::ArmLinkerMainStackSize),
         BuildSystem::findPropertyClass("arm_linker_stack_size")},
    };
    for (const auto &pair : pairs) {
        EXPECT_NE(pair.first, pair.second);
        EXPECT_EQ(pair.first->name(), pair.second->name());
        EXPECT_NE(pair.first->shortTitle(), pair.second->shortTitle()) << pair.first->name().toStdString();
        EXPECT_EQ(pair.found, pair.first) << pair.first->name().toStdString();
    }
    EXPECT_EQ(projectSystem.propertyClass(ProjectSystem::FolderFilter)->type(), PropertyClass::StringList);
    EXPECT_EQ(projectSystem.propertyClass(ProjectSystem::DynamicFolderFilter)->type(), PropertyClass::String);

    // linker_keep_symbols is defined twice alike.
    const PropertyClass *keep = buildSystem.propertyClass(StandardBuildSystem::LinkerKeepSymbols);
    const PropertyClass *keepAgain = buildSystem.propertyClass(StandardBuildSystem::LinkerKeepSymbolsRepeated);
    EXPECT_NE(keep, keepAgain);
    for (const PropertyClass *propertyClass : {keep, keepAgain}) {
        EXPECT_EQ(propertyClass->name(), "linker_keep_symbols");
        EXPECT_EQ(propertyClass->type(), keep->type());
        EXPECT_EQ(propertyClass->page(), keep->page());
        EXPECT_EQ(propertyClass->group(), keep->group());
        EXPECT_EQ(propertyClass->shortTitle(), keep->shortTitle());
        EXPECT_EQ(propertyClass->longText(), keep->longText());
    }
    EXPECT_EQ(BuildSystem::findPropertyClass("linker_keep_symbols"), keep);
    EXPECT_EQ(PropertyClassList::global().find("arm_linker_stack_size"),
              buildSystem.propertyClass(ARMBuildSystem::ArmLinkerStackSize));

    EXPECT_EQ(BuildSystem::findPropertyClass("no_such_property"), nullptr);
}

TEST(DefinitionOrder, aLookUpFindsTheClassesOfTheFirstSystemMadeWhileItLives)
{
    const ARMBuildSystem first;
    const PropertyClass *firstArchitecture = first.propertyClass(ARMBuildSystem::ArmArchitecture);
    {
        const ARMBuildSystem second;
        EXPECT_NE(second.propertyClass(ARMBuildSystem::ArmArchitecture), firstArchitecture);
        EXPECT_EQ(BuildSystem::findPropertyClass("arm_architecture"), firstArchitecture);
    }
    EXPECT_EQ(BuildSystem::findPropertyClass("arm_architecture"), firstArchitecture);
}

} // namespace
